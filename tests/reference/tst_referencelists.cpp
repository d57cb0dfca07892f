#include "appcontext.h"
#include "modal.h"
#include "referencedetaildialog.h"
#include "referencelistdialog.h"
#include "referencelists.h"
#include "scripteddialogs.h"
#include "sql.h"
#include "testdb.h"
#include "ui_referencelistdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

#include <functional>

using namespace ravelin;

Q_DECLARE_METATYPE(ravelin::ReferenceTable)

// The eight reference lists are one list/detail mechanism configured per table: these tests
// drive it through the screens, one table of cases per behaviour, and look at what the user saw
// and at what the tables hold afterwards.
class TestReferenceLists : public QObject
{
    Q_OBJECT
    QSqlDatabase m_db;
    QSqlDatabase m_other; // a second workstation on the same database
    test::ScriptedDialogs m_dialogs;
    AppContext m_context;
    // What the user does on the detail screen when it opens.
    std::function<void(ReferenceDetailDialog &)> m_onDetail;
    int m_detailsOpened = 0;

    static QString name(ReferenceTable t) { return referenceTable(t).table; }

    int count(const QString &sql)
    {
        const auto v = scalar(m_db, sql);
        return v ? v->toInt() : -1;
    }

    // The row `where` selects, column by column.
    QVariantMap fetch(const QString &table, const QString &where)
    {
        QSqlQuery q(m_db);
        if (!q.exec(QStringLiteral("select * from %1 where %2").arg(table, where)) || !q.next()) return {};
        QVariantMap row;
        for (int i = 0; i < q.record().count(); ++i) row.insert(q.record().fieldName(i), q.value(i));
        return row;
    }

    static void compareRow(const QVariantMap &got, const QVariantMap &expected)
    {
        QVERIFY2(!got.isEmpty(), "row not found");
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QVariant g = got.value(it.key());
            const QVariant e = it.value();
            const QString what = it.key() + QStringLiteral(": ") + g.toString() + QStringLiteral(" <> ") + e.toString();
            if (e.isNull()) QVERIFY2(g.isNull(), qPrintable(what));
            else if (e.typeId() == QMetaType::Double || e.typeId() == QMetaType::Int)
                QVERIFY2(!g.isNull() && qFuzzyCompare(g.toDouble(), e.toDouble()), qPrintable(what));
            else QVERIFY2(!g.isNull() && g.toString() == e.toString(), qPrintable(what));
        }
    }

    // The last row that may be modified and deleted.
    static int editableRow(const ReferenceListDialog &list)
    {
        for (int i = int(list.rows().size()) - 1; i >= 0; --i)
            if (!isFixedRow(list.definition(), list.rows()[i])) return i;
        return -1;
    }

    static int rowOf(const ReferenceListDialog &list, const QString &column, const QString &value)
    {
        for (int i = 0; i < list.rows().size(); ++i)
            if (list.rows()[i].value(column).toString() == value) return i;
        return -1;
    }

    // Types into a field as the user would, key by key (validators and the decimal key apply).
    static void type(ReferenceDetailDialog &detail, const QString &column, const QString &text)
    {
        QWidget *f = detail.field(column);
        QVERIFY2(f, qPrintable(column));
        if (auto *edit = qobject_cast<QLineEdit *>(f)) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            for (const QChar c : text) {
                if (c.unicode() < 0x80) QTest::keyClick(edit, char(c.unicode()));
                else // accented letters: a key event carrying the letter
                    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        } else if (auto *choice = qobject_cast<QComboBox *>(f)) {
            const int index = choice->findText(text);
            QVERIFY2(index >= 0 || text.isEmpty(), qPrintable(text));
            choice->setCurrentIndex(index);
        }
    }

    static void typeAll(ReferenceDetailDialog &detail, const QVariantMap &typed)
    {
        for (auto it = typed.cbegin(); it != typed.cend(); ++it) type(detail, it.key(), it.value().toString());
    }

    static void press(QDialog &dialog, const char *button)
    {
        auto *b = dialog.findChild<QPushButton *>(QLatin1String(button));
        QVERIFY2(b, button);
        b->click();
    }

private slots:
    void initTestCase()
    {
        m_db = test::createTestDatabase();
        QVERIFY(m_db.isOpen());
        m_other = test::openAnotherConnection(m_db.databaseName(), QStringLiteral("other_workstation"));
        QVERIFY(m_other.isOpen());
        m_context.db = m_db;
        m_context.dialogs = &m_dialogs;
        setModalRunner([this](QDialog &dialog) {
            auto *detail = qobject_cast<ReferenceDetailDialog *>(&dialog);
            if (!detail) return int(QDialog::Rejected);
            ++m_detailsOpened;
            if (m_onDetail) m_onDetail(*detail);
            return detail->result();
        });
    }

    void cleanupTestCase() { setModalRunner({}); }

    void init()
    {
        m_dialogs.clear();
        m_onDetail = nullptr;
        m_detailsOpened = 0;
        const QStringList statements{
            QStringLiteral("delete from essence"),
            QStringLiteral("insert into essence (essence, code, m3, T, Stere, pourcent_ecorce) values "
                           "('Chêne', 'CH', 1, 0.8, 1.5, 12), ('Hêtre', 'HE', 1, 0.75, 1.4, NULL)"),
            QStringLiteral("delete from qualite"),
            QStringLiteral("insert into qualite (qualite) values ('A'), ('B')"),
            QStringLiteral("delete from classe"),
            QStringLiteral("insert into classe (classe, dia_mini, dia_maxi) values ('10-20', 10, 20), "
                           "('20-30', 20, 30)"),
            QStringLiteral("delete from coef"),
            QStringLiteral("insert into coef (inc, designation, coef) values (1, 'Aucun Coef', 0), (2, "
                           "'Sciage de bûche', 45)"),
            QStringLiteral("delete from acheteur"),
            QStringLiteral("insert into acheteur (acheteur) values ('Dupont'), ('Martin')"),
            QStringLiteral("delete from famille_intervenant"),
            QStringLiteral("insert into famille_intervenant (famille_intervenant) values ('ABATTAGE'), ('DEBARDAGE'), "
                           "('BROYAGE'), ('TRANSPORT'), ('RIEN'), ('transport')"),
            QStringLiteral("delete from liste_tva"),
            QStringLiteral("insert into liste_tva (inc, tva) values (1, 20), (2, 5.5)"),
            QStringLiteral("delete from liste_reglement"),
            QStringLiteral("insert into liste_reglement (inc, reglement, nb_jour, fin_mois, jour_apres) values "
                           "(1, 'Chèque à 30 jours', 30, 'FIN de MOIS', 10), (2, 'Virement', 45, 'NET', NULL)"),
        };
        for (const QString &s : statements) QVERIFY2(execute(m_db, s), qPrintable(s));
    }

    // What the menu handler needs and what the list shows.
    void listScreens_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("rights");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("firstRow");
        const QString ess = QStringLiteral("Creer essence qualite classe");
        QTest::newRow("essence") << ReferenceTable::Essence << "liste_essence"
                                 << "Essences de bois"
                                 << "Liste Essences de bois" << ess << QStringList{"essence", "code"}
                                 << QStringList{"Chêne", "CH"};
        QTest::newRow("qualite") << ReferenceTable::Qualite << "liste_qualite"
                                 << "Qualités de bois"
                                 << "Liste Qualités de bois" << ess << QStringList{"qualite"} << QStringList{"A"};
        QTest::newRow("classe") << ReferenceTable::Classe << "liste_classe"
                                << "Classes de bois"
                                << "Liste Classes de bois" << ess << QStringList{"classe", "dia_mini", "dia_maxi"}
                                << QStringList{"10-20", "10", "20"};
        QTest::newRow("coef") << ReferenceTable::Coef << "liste_coef"
                              << "Coefficient de tranformation"
                              << "Liste coefficients de transformation" << ess
                              << QStringList{"n°", "designation", "coef"} << QStringList{"1", "Aucun Coef", "0"};
        QTest::newRow("acheteur") << ReferenceTable::Acheteur << "liste_acheteur"
                                  << "Liste des acheteurs ( coupes de bois )"
                                  << "Liste des acheteurs (coupes de bois )"
                                  << "Parametrage" << QStringList{"acheteur"} << QStringList{"Dupont"};
        QTest::newRow("famille") << ReferenceTable::FamilleIntervenant << "Liste_famille_affaire"
                                 << ""
                                 << "Liste familles pour les Intervenants"
                                 << "Famille intervenant" << QStringList{"famille_intervenant"}
                                 << QStringList{"ABATTAGE"};
        QTest::newRow("tva") << ReferenceTable::ListeTva << "liste_tva"
                             << "Liste des taux de TVA"
                             << "Lister TVA"
                             << "Creer TVA" << QStringList{"inc", "tva"} << QStringList{"2", "5,5"};
        QTest::newRow("reglement") << ReferenceTable::ListeReglement << "liste_reglement"
                                   << "Liste des modes de règlements"
                                   << "Liste mode de règlement"
                                   << "Creer mode de reglement" << QStringList{"inc", "reglement"}
                                   << QStringList{"1", "Chèque à 30 jours"};
    }
    void listScreens()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, screen);
        QFETCH(QString, heading);
        QFETCH(QString, menu);
        QFETCH(QString, rights);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, firstRow);
        const ReferenceTableDef &def = referenceTable(table);
        QCOMPARE(def.menuCaption, menu);
        QCOMPARE(def.rightsPage, rights);
        QVERIFY(referenceTables().contains(table));

        // Opened as the menu opens it: the list screen is shown modally, filled.
        bool shown = false;
        const auto inspect = [&](ReferenceListDialog *list) {
            shown = true;
            QCOMPARE(list->objectName(), screen);
            QCOMPARE(list->ui()->titre->text(), heading);
            QCOMPARE(list->ui()->titre->isVisibleTo(list), !heading.isEmpty());
            QCOMPARE(list->ui()->BtnCreer->text(), QStringLiteral("&Créer"));
            QCOMPARE(list->ui()->BtnModifier->text(), QStringLiteral("&Modifier"));
            QCOMPARE(list->ui()->BtnSupprimer->text(), QStringLiteral("Supprimer"));
            const QAbstractItemModel *grid = list->gridModel();
            QStringList got;
            for (int c = 0; c < grid->columnCount(); ++c) got << grid->headerData(c, Qt::Horizontal).toString();
            QCOMPARE(got, headers);
            QStringList first;
            for (int c = 0; c < grid->columnCount(); ++c) first << grid->index(0, c).data().toString();
            QCOMPARE(first, firstRow);
            QCOMPARE(list->currentRow(), 0);
        };
        const ModalRunner previous = setModalRunner([&](QDialog &dialog) {
            auto *list = qobject_cast<ReferenceListDialog *>(&dialog);
            if (!list) return int(QDialog::Rejected);
            inspect(list);
            return int(QDialog::Accepted);
        });
        openReferenceList(m_context, table);
        setModalRunner(previous);
        QVERIFY(shown);
        QVERIFY(m_dialogs.shown().isEmpty());
    }

    // "&Créer": the check of "OK" keeps the screen open with its message, then the row is written.
    void create_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QVariantMap>("typed");
        QTest::addColumn<QString>("emptyMessage");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QVariantMap>("stored");
        const QVariant null;
        QTest::newRow("essence")
            << ReferenceTable::Essence
            << QVariantMap{{"essence", "Douglas"}, {"code", "DO"}, {"T", "0.65"}, {"pourcent_ecorce", "9,5"}}
            << "Vous devez saisir une essence"
            << "essence = 'Douglas'"
            << QVariantMap{{"code", "DO"}, {"m3", 1.0}, {"T", 0.65}, {"Stere", 1.0}, {"pourcent_ecorce", 9.5}};
        QTest::newRow("qualite") << ReferenceTable::Qualite << QVariantMap{{"qualite", "C"}}
                                 << "Vous devez saisir une qualité de bois"
                                 << "qualite = 'C'" << QVariantMap{{"qualite", "C"}};
        QTest::newRow("classe without diameters")
            << ReferenceTable::Classe << QVariantMap{{"classe", "60+"}} << "Vous devez saisir une Classe de bois"
            << "classe = '60+'" << QVariantMap{{"dia_mini", null}, {"dia_maxi", null}};
        QTest::newRow("classe") << ReferenceTable::Classe
                                << QVariantMap{{"classe", "30-40"}, {"dia_mini", "30"}, {"dia_maxi", "39.5"}}
                                << "Vous devez saisir une Classe de bois"
                                << "classe = '30-40'" << QVariantMap{{"dia_mini", 30.0}, {"dia_maxi", 39.5}};
        QTest::newRow("coef") << ReferenceTable::Coef << QVariantMap{{"designation", "Séchage"}, {"coef", "-11"}}
                              << "Vous devez saisir une désignation"
                              << "designation = 'Séchage'" << QVariantMap{{"coef", -11.0}};
        QTest::newRow("acheteur") << ReferenceTable::Acheteur << QVariantMap{{"acheteur", "Bernard"}}
                                  << "Vous devez saisir un nom"
                                  << "acheteur = 'Bernard'" << QVariantMap{{"acheteur", "Bernard"}};
        QTest::newRow("famille") << ReferenceTable::FamilleIntervenant
                                 << QVariantMap{{"famille_intervenant", "ELAGAGE"}} << ""
                                 << "famille_intervenant = 'ELAGAGE'"
                                 << QVariantMap{{"famille_intervenant", "ELAGAGE"}};
        QTest::newRow("tva") << ReferenceTable::ListeTva << QVariantMap{{"tva", "10.5"}}
                             << "Vous devez saisir un taux de TVA"
                             << "tva = 10.5" << QVariantMap{{"tva", 10.5}};
        QTest::newRow("reglement")
            << ReferenceTable::ListeReglement
            << QVariantMap{{"reglement", "LCR"}, {"nb_jour", "60"}, {"fin_mois", "FIN de MOIS"}, {"jour_apres", "15"}}
            << "Vous devez saisir un mode de règlement"
            << "reglement = 'LCR'" << QVariantMap{{"nb_jour", 60}, {"fin_mois", "FIN de MOIS"}, {"jour_apres", 15}};
    }
    void create()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QVariantMap, typed);
        QFETCH(QString, emptyMessage);
        QFETCH(QString, where);
        QFETCH(QVariantMap, stored);
        const int before = count(QStringLiteral("select count(*) from ") + name(table));

        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            QCOMPARE(detail.objectName(), referenceTable(table).detailScreen);
            // "OK" on an empty screen: the table's message, the screen stays open.
            if (!emptyMessage.isEmpty()) {
                press(detail, "BtnOK");
                QCOMPARE(m_dialogs.lastText(), emptyMessage);
                QCOMPARE(detail.result(), int(QDialog::Rejected));
                QCOMPARE(count(QStringLiteral("select count(*) from ") + name(table)), before);
            }
            typeAll(detail, typed);
            press(detail, "BtnOK");
        };
        list.createRow();
        QCOMPARE(m_detailsOpened, 1);
        QCOMPARE(m_dialogs.shown().size(), emptyMessage.isEmpty() ? 0 : 1);
        QCOMPARE(count(QStringLiteral("select count(*) from ") + name(table)), before + 1);
        compareRow(fetch(name(table), where), stored);
        // The list was read again and shows the new row as the current one.
        QCOMPARE(list.rows().size(), before + 1);
        const ReferenceRow &current = list.rows()[list.currentRow()];
        const QString first = typed.firstKey();
        QCOMPARE(current.value(first).toString().replace(QLatin1Char('.'), QLatin1Char(',')),
                 typed.value(first).toString().replace(QLatin1Char('.'), QLatin1Char(',')));
    }

    void newSpeciesAcceptedAtOnceHasUnitCoefficientsOfOne()
    {
        ReferenceListDialog list(m_context, ReferenceTable::Essence);
        QVERIFY(list.reload());
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            auto *m3 = qobject_cast<QLineEdit *>(detail.field(QStringLiteral("m3")));
            QVERIFY(m3 && m3->isReadOnly());
            QCOMPARE(m3->text(), QStringLiteral("1"));
            type(detail, QStringLiteral("essence"), QStringLiteral("Frêne"));
            press(detail, "BtnOK");
        };
        list.createRow();
        compareRow(fetch(QStringLiteral("essence"), QStringLiteral("essence = 'Frêne'")),
                   {{"m3", 1.0}, {"T", 1.0}, {"Stere", 1.0}, {"pourcent_ecorce", QVariant()}, {"code", QVariant()}});
    }

    void emptyFamilyIsAccepted()
    {
        ReferenceListDialog list(m_context, ReferenceTable::FamilleIntervenant);
        QVERIFY(list.reload());
        m_onDetail = [&](ReferenceDetailDialog &detail) { press(detail, "BtnOK"); };
        list.createRow();
        QVERIFY(m_dialogs.shown().isEmpty());
        QCOMPARE(count(QStringLiteral("select count(*) from famille_intervenant")), 7);
    }

    void unreadableNumberKeepsTheScreenOpen()
    {
        ReferenceListDialog list(m_context, ReferenceTable::ListeTva);
        QVERIFY(list.reload());
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            type(detail, QStringLiteral("tva"), QStringLiteral("-"));
            press(detail, "BtnOK");
            QCOMPARE(detail.result(), int(QDialog::Rejected));
        };
        list.createRow();
        QCOMPARE(m_dialogs.lastText(), QStringLiteral("La valeur saisie n'est pas un nombre : Taux de TVA"));
        QCOMPARE(count(QStringLiteral("select count(*) from liste_tva")), 2);
    }

    // "Annuler" (or closing the window) writes nothing, for a new row and for a modified one.
    void cancelWritesNothing_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        for (ReferenceTable t : referenceTables()) {
            const ReferenceTableDef &def = referenceTable(t);
            const QString column = def.checks.isEmpty() ? def.gridColumns.first() : def.checks.first().column;
            QTest::newRow(qPrintable(def.table)) << t << column << "Nouveau";
        }
    }
    void cancelWritesNothing()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        const auto stored = readReferenceRows(m_db, table);
        QVERIFY(stored);

        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        list.selectRow(editableRow(list));
        const QList<ReferenceRow> shownBefore = list.rows();
        // "Annuler", then the window closed without a button.
        for (const char *button : {"BtnAnnuler", ""}) {
            m_onDetail = [&](ReferenceDetailDialog &detail) {
                type(detail, column, value);
                if (*button) press(detail, button);
            };
            list.createRow();
            list.modifyRow();
        }
        QCOMPARE(m_detailsOpened, 4);
        QVERIFY(m_dialogs.shown().isEmpty());
        QCOMPARE(*readReferenceRows(m_db, table), *stored);
        QCOMPARE(list.rows(), shownBefore);
    }

    // "&Modifier" rewrites the row read, found by its key or by its values (real numbers too).
    void modify_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QVariantMap>("typed");
        QTest::addColumn<QString>("where");
        QTest::addColumn<QVariantMap>("stored");
        QTest::newRow("essence with T = 0.8")
            << ReferenceTable::Essence << "essence"
            << "Chêne" << QVariantMap{{"T", "0.9"}, {"Stere", "1,6"}} << "essence = 'Chêne'"
            << QVariantMap{{"code", "CH"}, {"m3", 1.0}, {"T", 0.9}, {"Stere", 1.6}, {"pourcent_ecorce", 12.0}};
        QTest::newRow("essence untouched fields")
            << ReferenceTable::Essence << "essence"
            << "Hêtre" << QVariantMap{{"code", "HT"}} << "essence = 'Hêtre'"
            << QVariantMap{{"code", "HT"}, {"T", 0.75}, {"Stere", 1.4}, {"pourcent_ecorce", QVariant()}};
        QTest::newRow("qualite") << ReferenceTable::Qualite << "qualite"
                                 << "A" << QVariantMap{{"qualite", "A+"}} << "qualite = 'A+'"
                                 << QVariantMap{{"qualite", "A+"}};
        QTest::newRow("classe") << ReferenceTable::Classe << "classe"
                                << "10-20" << QVariantMap{{"dia_maxi", "19,5"}} << "classe = '10-20'"
                                << QVariantMap{{"dia_mini", 10.0}, {"dia_maxi", 19.5}};
        QTest::newRow("coef") << ReferenceTable::Coef << "designation"
                              << "Sciage de bûche" << QVariantMap{{"designation", "Sciage 33 cm"}, {"coef", "-10"}}
                              << "inc = 2" << QVariantMap{{"designation", "Sciage 33 cm"}, {"coef", -10.0}};
        QTest::newRow("acheteur") << ReferenceTable::Acheteur << "acheteur"
                                  << "Dupont" << QVariantMap{{"acheteur", "Dupont Jean"}} << "acheteur = 'Dupont Jean'"
                                  << QVariantMap{{"acheteur", "Dupont Jean"}};
        QTest::newRow("famille in lower case")
            << ReferenceTable::FamilleIntervenant << "famille_intervenant"
            << "transport" << QVariantMap{{"famille_intervenant", "Transport routier"}}
            << "famille_intervenant = 'Transport routier'" << QVariantMap{{"famille_intervenant", "Transport routier"}};
        QTest::newRow("tva") << ReferenceTable::ListeTva << "tva"
                             << "5.5" << QVariantMap{{"tva", "2.1"}} << "inc = 2" << QVariantMap{{"tva", 2.1}};
        QTest::newRow("reglement") << ReferenceTable::ListeReglement << "reglement"
                                   << "Virement"
                                   << QVariantMap{{"nb_jour", "60"},
                                                  {"fin_mois", "FIN de MOIS"},
                                                  {"jour_apres", "5"},
                                                  {"code_paiement", "58 - Virement SEPA"}}
                                   << "inc = 2"
                                   << QVariantMap{{"reglement", "Virement"},
                                                  {"nb_jour", 60},
                                                  {"fin_mois", "FIN de MOIS"},
                                                  {"jour_apres", 5},
                                                  {"code_paiement", "58"}};
    }
    void modify()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QVariantMap, typed);
        QFETCH(QString, where);
        QFETCH(QVariantMap, stored);
        const int rows = count(QStringLiteral("select count(*) from ") + name(table));
        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        const int row = rowOf(list, column, value);
        QVERIFY(row >= 0);
        list.selectRow(row);
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            typeAll(detail, typed);
            press(detail, "BtnOK");
        };
        list.modifyRow();
        QVERIFY2(m_dialogs.shown().isEmpty(), qPrintable(m_dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(count(QStringLiteral("select count(*) from ") + name(table)), rows);
        compareRow(fetch(name(table), where), stored);
    }

    void identicalRowsChangeOneAtATime()
    {
        QVERIFY(execute(m_db, QStringLiteral("insert into qualite (qualite) values ('A')")));
        ReferenceListDialog list(m_context, ReferenceTable::Qualite);
        QVERIFY(list.reload());
        list.selectRow(rowOf(list, QStringLiteral("qualite"), QStringLiteral("A")));
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            type(detail, QStringLiteral("qualite"), QStringLiteral("A1"));
            press(detail, "BtnOK");
        };
        list.modifyRow();
        QCOMPARE(count(QStringLiteral("select count(*) from qualite where qualite = 'A'")), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from qualite where qualite = 'A1'")), 1);
        m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        list.selectRow(rowOf(list, QStringLiteral("qualite"), QStringLiteral("A")));
        list.deleteRow();
        QCOMPARE(count(QStringLiteral("select count(*) from qualite")), 2);
    }

    void realNumbersAreFoundWithinAHair()
    {
        // Another program wrote 0.1 + 0.2, which is not 0.3 to the last bit.
        QVERIFY(execute(m_db, QStringLiteral("update essence set T = 0.1e0 + 0.2e0 where essence = 'Hêtre'")));
        ReferenceRow asRead{{"essence", QStringLiteral("Hêtre")},
                            {"code", QStringLiteral("HE")},
                            {"m3", 1.0},
                            {"T", 0.3},
                            {"Stere", 1.4},
                            {"pourcent_ecorce", QVariant()}};
        ReferenceRow typed = asRead;
        typed.insert(QStringLiteral("T"), 0.35);
        const Status s = updateReferenceRow(m_db, ReferenceTable::Essence, asRead, typed);
        QVERIFY2(s, qPrintable(s.ok() ? QString() : s.error().fullText()));
        compareRow(fetch(QStringLiteral("essence"), QStringLiteral("essence = 'Hêtre'")), {{"T", 0.35}});
        // ...but a real change is a change.
        asRead = typed;
        asRead.insert(QStringLiteral("T"), 0.3501);
        const Status refused = updateReferenceRow(m_db, ReferenceTable::Essence, asRead, typed);
        QVERIFY(!refused.ok());
        QVERIFY(isChangedElsewhere(refused.error()));
    }

    // Fixed rows: the families the program relies on and the "Aucun Coef" line.
    void fixedRows_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("action"); // modify, double click, delete
        QTest::addColumn<QString>("refusal");
        const auto fam = ReferenceTable::FamilleIntervenant;
        const QString f = QStringLiteral("famille_intervenant");
        for (const char *fixed : {"ABATTAGE", "DEBARDAGE", "BROYAGE", "TRANSPORT"}) {
            QTest::addRow("modify %s", fixed) << fam << f << fixed << "modify"
                                              << "Famille OBLIGATOIRE";
            QTest::addRow("delete %s", fixed) << fam << f << fixed << "delete"
                                              << "Famille OBLIGATOIRE";
        }
        QTest::newRow("modify transport") << fam << f << "transport"
                                          << "modify"
                                          << "";
        QTest::newRow("delete transport") << fam << f << "transport"
                                          << "delete"
                                          << "";
        QTest::newRow("modify RIEN") << fam << f << "RIEN"
                                     << "modify"
                                     << "";
        const QString d = QStringLiteral("designation");
        QTest::newRow("modify Aucun Coef") << ReferenceTable::Coef << d << "Aucun Coef"
                                           << "modify"
                                           << "Ligne OBLIGATOIRE";
        QTest::newRow("double click Aucun Coef") << ReferenceTable::Coef << d << "Aucun Coef"
                                                 << "double click"
                                                 << "Ligne OBLIGATOIRE";
        QTest::newRow("delete Aucun Coef")
            << ReferenceTable::Coef << d << "Aucun Coef"
            << "delete"
            << "La ligne « Aucun Coef » ne peut pas être supprimée : les lignes de transfert sans transformation "
               "y renvoient.";
        QTest::newRow("double click other coef") << ReferenceTable::Coef << d << "Sciage de bûche"
                                                 << "double click"
                                                 << "";
    }
    void fixedRows()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, action);
        QFETCH(QString, refusal);
        const int rows = count(QStringLiteral("select count(*) from ") + name(table));
        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        const int row = rowOf(list, column, value);
        QVERIFY(row >= 0);
        list.selectRow(row);
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            type(detail, column, value + QStringLiteral(" bis"));
            press(detail, "BtnOK");
        };
        if (action == QLatin1String("delete")) {
            if (refusal.isEmpty()) m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
            list.deleteRow();
        } else if (action == QLatin1String("modify")) {
            list.modifyRow();
        } else {
            list.show();
            QVERIFY(QTest::qWaitForWindowExposed(&list));
            QTableView *grid = list.ui()->Grille;
            const QRect cell = grid->visualRect(grid->model()->index(row, 1));
            QVERIFY(cell.isValid());
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        }
        const QString q = QStringLiteral("select count(*) from %1 where cast(%2 as binary) = cast('%3' as binary)")
                              .arg(name(table), column);
        if (!refusal.isEmpty()) {
            QCOMPARE(m_dialogs.texts(), QStringList{refusal});
            QCOMPARE(m_detailsOpened, 0);
            QCOMPARE(count(q.arg(value)), 1);
            QCOMPARE(count(QStringLiteral("select count(*) from ") + name(table)), rows);
        } else if (action == QLatin1String("delete")) {
            QCOMPARE(count(q.arg(value)), 0);
            QCOMPARE(count(QStringLiteral("select count(*) from ") + name(table)), rows - 1);
        } else {
            QCOMPARE(m_detailsOpened, 1);
            QCOMPARE(count(q.arg(value + QStringLiteral(" bis"))), 1);
        }
        // Whatever happened to the lower-case family, the fixed one is still there, in capitals.
        QCOMPARE(count(QStringLiteral("select count(*) from famille_intervenant where "
                                      "cast(famille_intervenant as binary) = 'TRANSPORT'")),
                 1);
    }

    void fixedRowsRefusedByTheOperationsToo()
    {
        const ReferenceRow transport{{"famille_intervenant", QStringLiteral("TRANSPORT")}};
        const Status modified = updateReferenceRow(m_db, ReferenceTable::FamilleIntervenant, transport,
                                                   {{"famille_intervenant", QStringLiteral("CAMION")}});
        QVERIFY(!modified.ok());
        QCOMPARE(modified.error().message, QStringLiteral("Famille OBLIGATOIRE"));
        const Status deleted = deleteReferenceRow(m_db, ReferenceTable::FamilleIntervenant, transport);
        QVERIFY(!deleted.ok());
        QCOMPARE(
            count(QStringLiteral("select count(*) from famille_intervenant where famille_intervenant = 'TRANSPORT'")),
            2);
    }

    // Colour rules: fixed families and the "Aucun Coef" row are written in red.
    void colours_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("red");
        QTest::newRow("famille") << ReferenceTable::FamilleIntervenant << "famille_intervenant"
                                 << QStringList{"ABATTAGE", "BROYAGE", "DEBARDAGE", "TRANSPORT"};
        QTest::newRow("coef") << ReferenceTable::Coef << "designation" << QStringList{"Aucun Coef"};
        QTest::newRow("essence") << ReferenceTable::Essence << "essence" << QStringList{};
    }
    void colours()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, column);
        QFETCH(QStringList, red);
        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        const QAbstractItemModel *grid = list.gridModel();
        QStringList painted;
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QVariant first = grid->index(r, 0).data(Qt::ForegroundRole);
            for (int c = 0; c < grid->columnCount(); ++c) {
                QCOMPARE(grid->index(r, c).data(Qt::ForegroundRole), first);
                QVERIFY(!grid->index(r, c).data(Qt::BackgroundRole).isValid());
            }
            if (first.isValid()) {
                QCOMPARE(first.value<QColor>(), QColor(0xFF, 0, 0));
                painted << list.rows()[r].value(column).toString();
            }
        }
        QCOMPARE(painted, red);
    }

    // "Supprimer": the table's question, then the typed word, exactly.
    void deleteQuestion_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("question");
        const QString cette = QStringLiteral("Voulez vous supprimer cette enregistrement ?");
        const QString cet = QStringLiteral("Voulez vous supprimer cet enregistrement ?");
        QTest::newRow("essence") << ReferenceTable::Essence << cette;
        QTest::newRow("qualite") << ReferenceTable::Qualite << cet;
        QTest::newRow("classe") << ReferenceTable::Classe << cette;
        QTest::newRow("coef") << ReferenceTable::Coef << cette;
        QTest::newRow("acheteur") << ReferenceTable::Acheteur << cet;
        QTest::newRow("famille") << ReferenceTable::FamilleIntervenant << cette;
        QTest::newRow("tva") << ReferenceTable::ListeTva << cet;
        QTest::newRow("reglement") << ReferenceTable::ListeReglement << cet;
    }
    void deleteQuestion()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, question);
        const int rows = count(QStringLiteral("select count(*) from ") + name(table));
        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        list.selectRow(editableRow(list));
        const ReferenceRow gone = list.rows()[editableRow(list)];
        m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
        list.deleteRow();
        QCOMPARE(m_dialogs.shown().size(), 2);
        QCOMPARE(m_dialogs.shown()[0].kind, QStringLiteral("yesNo"));
        QCOMPARE(m_dialogs.shown()[0].text, question);
        QCOMPARE(m_dialogs.shown()[1].kind, QStringLiteral("input"));
        QCOMPARE(m_dialogs.shown()[1].caption, QStringLiteral("Supprimer une saisie"));
        QCOMPARE(count(QStringLiteral("select count(*) from ") + name(table)), rows - 1);
        QCOMPARE(list.rows().size(), rows - 1);
        QVERIFY(!list.rows().contains(gone));
    }

    void deleteNeedsTheExactWord_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("Non") << QVariantList{false} << false;
        QTest::newRow("lower case") << QVariantList{true, QStringLiteral("supprimer")} << false;
        QTest::newRow("mixed case") << QVariantList{true, QStringLiteral("Supprimer")} << false;
        QTest::newRow("with a space") << QVariantList{true, QStringLiteral("SUPPRIMER ")} << false;
        QTest::newRow("empty") << QVariantList{true, QString()} << false;
        QTest::newRow("box cancelled") << QVariantList{true, QVariant()} << false;
        QTest::newRow("SUPPRIMER") << QVariantList{true, QStringLiteral("SUPPRIMER")} << true;
    }
    void deleteNeedsTheExactWord()
    {
        QFETCH(QVariantList, answers);
        QFETCH(bool, deleted);
        ReferenceListDialog list(m_context, ReferenceTable::Acheteur);
        QVERIFY(list.reload());
        list.selectRow(rowOf(list, QStringLiteral("acheteur"), QStringLiteral("Martin")));
        m_dialogs.answers(answers);
        list.deleteRow();
        QCOMPARE(m_dialogs.pendingAnswers(), 0);
        QCOMPARE(m_dialogs.shown().size(), answers.size()); // no message after the questions
        QCOMPARE(count(QStringLiteral("select count(*) from acheteur where acheteur = 'Martin'")), deleted ? 0 : 1);
        QCOMPARE(count(QStringLiteral("select count(*) from acheteur")), deleted ? 1 : 2);
    }

    // An empty list answers modify and delete with the same message and does nothing else.
    void emptyList_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        for (ReferenceTable t : referenceTables()) QTest::newRow(qPrintable(referenceTable(t).table)) << t;
    }
    void emptyList()
    {
        QFETCH(ReferenceTable, table);
        QVERIFY(execute(m_db, QStringLiteral("delete from ") + name(table)));
        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        QCOMPARE(list.currentRow(), -1);
        list.modifyRow();
        list.deleteRow();
        QCOMPARE(m_dialogs.texts(), (QStringList{noRecordMessage(), noRecordMessage()}));
        QCOMPARE(m_detailsOpened, 0);
    }

    // A row another workstation changed or deleted since the list was read is never overwritten:
    // the write is refused with a message, the other workstation's values stay, the list is read
    // again.
    void concurrentChangeIsRefused_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("check"); // a count that must be 1 afterwards
        QTest::newRow("essence changed, modify") << ReferenceTable::Essence << "essence"
                                                 << "Chêne"
                                                 << "update essence set T = 0.85 where essence = 'Chêne'"
                                                 << "modify"
                                                 << "select count(*) from essence where T = 0.85 and code = 'CH'";
        QTest::newRow("qualite deleted, modify")
            << ReferenceTable::Qualite << "qualite"
            << "A"
            << "delete from qualite where qualite = 'A'"
            << "modify"
            << "select count(*) = 0 from qualite where qualite in ('A', 'A changed')";
        QTest::newRow("classe changed, delete")
            << ReferenceTable::Classe << "classe"
            << "10-20"
            << "update classe set dia_mini = 12 where classe = '10-20'"
            << "delete"
            << "select count(*) from classe where classe = '10-20' and dia_mini = 12";
        QTest::newRow("coef changed, modify by key")
            << ReferenceTable::Coef << "designation"
            << "Sciage de bûche"
            << "update coef set designation = 'Sciage court' where inc = 2"
            << "modify"
            << "select count(*) from coef where inc = 2 and designation = 'Sciage court' and coef = 45";
        QTest::newRow("coef changed, delete by key") << ReferenceTable::Coef << "designation"
                                                     << "Sciage de bûche"
                                                     << "update coef set coef = 40 where inc = 2"
                                                     << "delete"
                                                     << "select count(*) from coef where inc = 2 and coef = 40";
        QTest::newRow("acheteur renamed, delete") << ReferenceTable::Acheteur << "acheteur"
                                                  << "Dupont"
                                                  << "update acheteur set acheteur = 'Dupond' where acheteur = 'Dupont'"
                                                  << "delete"
                                                  << "select count(*) from acheteur where acheteur = 'Dupond'";
        QTest::newRow("famille deleted, delete")
            << ReferenceTable::FamilleIntervenant << "famille_intervenant"
            << "RIEN"
            << "delete from famille_intervenant where famille_intervenant = 'RIEN'"
            << "delete"
            << "select count(*) = 0 from famille_intervenant where famille_intervenant = 'RIEN'";
        QTest::newRow("tva changed, modify") << ReferenceTable::ListeTva << "tva"
                                             << "5.5"
                                             << "update liste_tva set tva = 7 where inc = 2"
                                             << "modify"
                                             << "select count(*) from liste_tva where inc = 2 and tva = 7";
        QTest::newRow("reglement changed, modify") << ReferenceTable::ListeReglement << "reglement"
                                                   << "Virement"
                                                   << "update liste_reglement set nb_jour = 30 where inc = 2"
                                                   << "modify"
                                                   << "select count(*) from liste_reglement where inc = 2 "
                                                      "and nb_jour = 30 and reglement = 'Virement'";
    }
    void concurrentChangeIsRefused()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, elsewhere);
        QFETCH(QString, action);
        QFETCH(QString, check);
        ReferenceListDialog list(m_context, table);
        QVERIFY(list.reload());
        const int row = rowOf(list, column, value);
        QVERIFY(row >= 0);
        list.selectRow(row);
        const QList<ReferenceRow> shownBefore = list.rows();

        QVERIFY(execute(m_other, elsewhere));

        const QString editable =
            referenceTable(table).checks.isEmpty() ? column : referenceTable(table).checks.first().column;
        m_onDetail = [&](ReferenceDetailDialog &detail) {
            type(detail, editable, value + QStringLiteral(" changed"));
            press(detail, "BtnOK");
            QCOMPARE(detail.result(), int(QDialog::Rejected));
            QVERIFY(detail.changedElsewhere());
        };
        if (action == QLatin1String("delete")) {
            m_dialogs.answers({true, QStringLiteral("SUPPRIMER")});
            list.deleteRow();
        } else {
            list.modifyRow();
        }
        QCOMPARE(m_dialogs.lastCaption(), QStringLiteral("Erreur"));
        QVERIFY2(m_dialogs.lastText().startsWith(
                     QStringLiteral("Cet enregistrement a été modifié ou supprimé sur un autre poste")),
                 qPrintable(m_dialogs.lastText()));
        QCOMPARE(count(check), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from %1 where %2 like '%changed'").arg(name(table), editable)),
                 0);
        // The list now shows the table as it is.
        QVERIFY(list.rows() != shownBefore);
        auto current = readReferenceRows(m_db, table);
        QVERIFY(current);
        QCOMPARE(list.rows(), *current);
    }

    // The detail forms: fields named after their columns, labels, required colour, decimal key.
    void detailForms_data()
    {
        QTest::addColumn<ReferenceTable>("table");
        QTest::addColumn<QStringList>("labels");   // field: label, in screen order
        QTest::addColumn<QStringList>("decimal");  // fields where a typed "." becomes ","
        QTest::addColumn<QStringList>("integers"); // fields that take digits only
        QTest::newRow("essence")
            << ReferenceTable::Essence
            << QStringList{"essence:Essence de bois", "code:Code", "m3:m3", "T:Tonne", "Stere:Stère",
                           "pourcent_ecorce:% ecorce"}
            << QStringList{"T", "Stere", "pourcent_ecorce"} << QStringList{};
        QTest::newRow("qualite") << ReferenceTable::Qualite << QStringList{"qualite:Qualité de bois"} << QStringList{}
                                 << QStringList{};
        QTest::newRow("classe") << ReferenceTable::Classe
                                << QStringList{"classe:Classe de bois", "dia_mini:Diamètre mini",
                                               "dia_maxi:Diamètre maxi"}
                                << QStringList{"dia_mini", "dia_maxi"} << QStringList{};
        QTest::newRow("coef") << ReferenceTable::Coef << QStringList{"designation:Désignation", "coef:Coef"}
                              << QStringList{"coef"} << QStringList{};
        QTest::newRow("acheteur") << ReferenceTable::Acheteur << QStringList{"acheteur:Acheteur"} << QStringList{}
                                  << QStringList{};
        QTest::newRow("famille") << ReferenceTable::FamilleIntervenant
                                 << QStringList{"famille_intervenant:Famille d'intervenant"} << QStringList{}
                                 << QStringList{};
        QTest::newRow("tva") << ReferenceTable::ListeTva << QStringList{"tva:Taux de TVA"} << QStringList{"tva"}
                             << QStringList{};
        QTest::newRow("reglement") << ReferenceTable::ListeReglement
                                   << QStringList{"reglement:Mode de règlement", "nb_jour:Nombre de jours",
                                                  "fin_mois:payement", "jour_apres:le ",
                                                  "code_paiement:Code facture électronique"}
                                   << QStringList{} << QStringList{"nb_jour", "jour_apres"};
    }
    void detailForms()
    {
        QFETCH(ReferenceTable, table);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, decimal);
        QFETCH(QStringList, integers);
        const ReferenceTableDef &def = referenceTable(table);
        ReferenceDetailDialog detail(m_context, table, def.createDefaults, {});
        QCOMPARE(detail.objectName(), def.detailScreen);
        QCOMPARE(detail.findChild<QPushButton *>(QStringLiteral("BtnOK"))->text(), QStringLiteral("OK"));
        QCOMPARE(detail.findChild<QPushButton *>(QStringLiteral("BtnAnnuler"))->text(), QStringLiteral("Annuler"));
        const auto allLabels = detail.findChildren<QLabel *>();
        for (const QString &pair : labels) {
            const QString column = pair.section(QLatin1Char(':'), 0, 0);
            const QString caption = pair.section(QLatin1Char(':'), 1);
            QWidget *f = detail.field(column);
            QVERIFY2(f, qPrintable(column));
            const QLabel *label = nullptr;
            for (const QLabel *l : allLabels)
                if (l->buddy() == f) label = l;
            QVERIFY2(label, qPrintable(column));
            QCOMPARE(label->text(), caption);
            const bool required = def.requiredColumns.contains(column);
            QCOMPARE(f->palette().color(QPalette::Base) == ReferenceDetailDialog::requiredColour(), required);
            if (auto *edit = qobject_cast<QLineEdit *>(f); edit && !edit->isReadOnly()) {
                edit->clear();
                QTest::keyClicks(edit, QStringLiteral("1.5"));
                const QString expected = decimal.contains(column)    ? QStringLiteral("1,5")
                                         : integers.contains(column) ? QStringLiteral("15")
                                                                     : QStringLiteral("1.5");
                QCOMPARE(edit->text(), expected);
            }
        }
        if (table == ReferenceTable::Essence) {
            auto *m3 = qobject_cast<QLineEdit *>(detail.field(QStringLiteral("m3")));
            QVERIFY(m3->isReadOnly());
            const auto group = detail.findChild<QWidget *>(QStringLiteral("correspondance"));
            QVERIFY(group);
            QCOMPARE(group->property("title").toString(),
                     QStringLiteral("Correspondance entre les unités ( valeur par defaut m3 ) :"));
        }
        if (table == ReferenceTable::ListeReglement) {
            auto *choice = qobject_cast<QComboBox *>(detail.field(QStringLiteral("fin_mois")));
            QVERIFY(choice);
            QCOMPARE(choice->count(), 2);
            QCOMPARE(choice->itemText(0), QStringLiteral("NET"));
            QCOMPARE(choice->itemText(1), QStringLiteral("FIN de MOIS"));
            QCOMPARE(detail.findChild<QWidget *>(QStringLiteral("echeance"))->property("title").toString(),
                     QStringLiteral("Echéance"));
            QStringList texts;
            for (const QLabel *l : allLabels) texts << l->text();
            QVERIFY(texts.contains(QStringLiteral("Exempe : 30 jours, FIN de MOIS, le 10")));
            QVERIFY(texts.contains(QStringLiteral("Exempe : 45 jours, NET")));
        }
        if (table == ReferenceTable::Coef) {
            QStringList texts;
            for (const QLabel *l : allLabels) texts << l->text();
            QVERIFY(texts.contains(QStringLiteral("Sciage de bûche de 33 cm  : +45% / m3")));
            QVERIFY(texts.contains(QStringLiteral("Séchage de bûche à 20% d'humidité  : -14% / stère")));
        }
    }

    void storedNumbersShowTheFrenchWay()
    {
        const ReferenceRow row{{"essence", QStringLiteral("Chêne")}, {"m3", 1.0}, {"T", 0.8}, {"Stere", 1234.5}};
        ReferenceDetailDialog detail(m_context, ReferenceTable::Essence, row, {});
        QCOMPARE(qobject_cast<QLineEdit *>(detail.field(QStringLiteral("T")))->text(), QStringLiteral("0,8"));
        QCOMPARE(qobject_cast<QLineEdit *>(detail.field(QStringLiteral("Stere")))->text(), QStringLiteral("1234,5"));
        QCOMPARE(detail.typedRow().value(QStringLiteral("T")).toDouble(), 0.8);
        QVERIFY(detail.typedRow().value(QStringLiteral("pourcent_ecorce")).isNull());
    }
};

QTEST_MAIN(TestReferenceLists)
#include "tst_referencelists.moc"

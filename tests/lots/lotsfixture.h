#pragma once

#include "appcontext.h"
#include "modal.h"
#include "scripteddialogs.h"
#include "settings.h"
#include "sql.h"
#include "testdb.h"

#include <QDialog>
#include <QList>
#include <QSqlQuery>
#include <QStringList>
#include <QTest>

#include <functional>

namespace ravelin::test {

// The screens a flow opens, played in turn: each handler fills its screen in and presses a
// button; the names of the screens shown are kept in order.
class ModalScript
{
public:
    using Screen = std::function<int(QDialog &)>;

    ModalScript()
    {
        m_previous = setModalRunner([this](QDialog &dialog) -> int {
            m_shown << dialog.objectName();
            if (m_screens.isEmpty()) {
                QTest::qFail(qPrintable(QStringLiteral("unexpected screen: ") + dialog.objectName()), __FILE__,
                             __LINE__);
                return QDialog::Rejected;
            }
            return m_screens.takeFirst()(dialog);
        });
    }
    ~ModalScript() { setModalRunner(m_previous); }

    void then(Screen screen) { m_screens.append(std::move(screen)); }
    const QStringList &shown() const { return m_shown; }
    int pending() const { return int(m_screens.size()); }
    void clear()
    {
        m_screens.clear();
        m_shown.clear();
    }

private:
    QList<Screen> m_screens;
    QStringList m_shown;
    ModalRunner m_previous;
};

// A test database with the installation rows, the dialogs and a context signed in as the master
// user (every right).
class LotsFixture
{
public:
    QSqlDatabase db;
    ScriptedDialogs dialogs;
    AppContext context;

    void open()
    {
        db = createTestDatabase();
        context.db = db;
        context.dialogs = &dialogs;
        context.rights = Rights({}, QStringLiteral("Technicien"));
        auto settings = loadSettings(db);
        QVERIFY(settings);
        context.settings = *settings;
    }

    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto done = execute(db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText() + QStringLiteral("\n") + sql));
    }
    QVariant value(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto v = scalar(db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? *v : QVariant();
    }
    int count(const QString &sql, std::initializer_list<QVariant> values = {}) { return value(sql, values).toInt(); }

    void clearTables()
    {
        for (const char *table : {"coupe", "grume", "intervention", "proprietaire", "proprietaire_essence",
                                  "liste_grume_cde", "livraison", "liste_grume_transfert", "cde", "classe"})
            run(QStringLiteral("delete from ") + QLatin1String(table));
        run(QStringLiteral("update increment set n_lot=100"));
        dialogs.clear();
    }

    // A user holding only these pages.
    void signInWith(const QStringList &pages)
    {
        QList<Rights::Row> rows;
        for (const QString &page : pages) rows.append({QStringLiteral("Alice"), page, QStringLiteral("1")});
        context.rights = Rights(rows, QStringLiteral("Alice"));
    }
    void signInAsMaster() { context.rights = Rights({}, QStringLiteral("Technicien")); }

    int insertVolumeLine(int nLot, const QString &essence, double qte, const QVariant &finPied = QVariant(),
                         const QVariant &finAbattage = QVariant(), double qteLivree = 0)
    {
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("insert into grume (N_lot, indice_lot, descriptif, essence, qualite, unite, unite_defaut, "
                           "qte, qte_defaut, qte_livree, qte_livree_defaut, fin_pied, fin_abattage) "
                           "values (?, 1, 'VOLUME', ?, 'A', 'm3', 'm3', ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &v : QVariantList{nLot, essence, qte, qte, qteLivree, qteLivree, finPied, finAbattage})
            q.addBindValue(v);
        if (!q.exec()) qWarning() << q.lastError().text();
        return q.lastInsertId().toInt();
    }
};

} // namespace ravelin::test

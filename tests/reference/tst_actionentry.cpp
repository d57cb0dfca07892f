#include "actionentrydialog.h"
#include "appfixture.h"
#include "contractorrates.h"
#include "ui_actionentrydialog.h"

#include <QTest>

using namespace ravelin;

// The entry screen of a contractor's action, shared by orders, deliveries and transfers.
class TestActionEntry : public QObject
{
    Q_OBJECT
    test::AppFixture f;

    ActionEntrySetup setup(bool requireCompany = false)
    {
        auto contractors = contractorsExceptFamily(f.db, QStringLiteral("RIEN"));
        if (!contractors) qWarning() << contractors.error().fullText();
        return {QStringLiteral("liste_intervention_cde"),
                QStringLiteral("liste_action_cde"),
                contractors ? *contractors : QList<ContractorRates>(),
                {QStringLiteral("CHARGEMENT"), QStringLiteral("TRANSPORT")},
                true,
                requireCompany};
    }

private slots:
    void initTestCase()
    {
        f.open();
        f.run(QStringLiteral("delete from intervenant_possible"));
        f.run(QStringLiteral("insert into intervenant_possible (societe, famille_intervenant, cout_tonne, cout_stere, "
                             "cout_volume) values ('BOIS LIER', 'TRANSPORT', 6, 12, 9.5), ('NEANT', 'RIEN', 1, 1, 1), "
                             "('ANCIEN', null, null, null, null)"));
    }

    void companiesOffered()
    {
        const auto offered = contractorsExceptFamily(f.db, QStringLiteral("RIEN"));
        QVERIFY(offered);
        QStringList names;
        for (const ContractorRates &c : *offered) names << c.societe;
        QCOMPARE(names, QStringList({QStringLiteral("ANCIEN"), QStringLiteral("BOIS LIER")}));
        QCOMPARE(contractorsExceptFamily(f.db, QString())->size(), 3);
        QCOMPARE(contractorsOfFamily(f.db, QStringLiteral("TRANSPORT"))->size(), 1);
    }

    // The rate follows the company and the unit; "Forfait" keeps the typed price; the cost is
    // never rounded.
    void unitPriceAndCost()
    {
        ActionEntry entry;
        entry.qteAction = 2.5;
        entry.nLot = QStringLiteral("26012");
        ActionEntryDialog screen(f.context, setup(), entry);
        auto *ui = screen.ui();
        QCOMPARE(screen.windowTitle(), QStringLiteral("Détail intervention"));
        QCOMPARE(ui->n_lot->text(), QStringLiteral("26012"));
        QVERIFY(ui->n_lot->isReadOnly());

        ui->I_nom->setCurrentText(QStringLiteral("BOIS LIER"));
        ui->unite_action->setCurrentText(QStringLiteral("Stere"));
        emit ui->unite_action->activated(ui->unite_action->currentIndex());
        QCOMPARE(ui->prix_unit_action->text(), QStringLiteral("12"));
        QCOMPARE(screen.entry().iCout.toDouble(), 30.0);

        ui->unite_action->setCurrentText(QStringLiteral("Forfait"));
        emit ui->unite_action->activated(ui->unite_action->currentIndex());
        QCOMPARE(ui->prix_unit_action->text(), QStringLiteral("12"));

        ui->prix_unit_action->clear();
        QTest::keyClicks(ui->prix_unit_action, QStringLiteral("3.333"));
        QCOMPARE(screen.entry().iCout.toDouble(), 8.3325);
        QCOMPARE(ui->I_cout->text(), QStringLiteral("8,3325"));

        // Not a number: the cost stays as it was.
        ui->qte_action->setText(QStringLiteral("abc"));
        ui->BtnCalcul->click();
        QCOMPARE(screen.entry().iCout.toDouble(), 8.3325);
    }

    void okNeedsCompanyWhereAsked()
    {
        ActionEntry entry;
        ActionEntryDialog screen(f.context, setup(true), entry);
        screen.ui()->I_nom->setCurrentIndex(-1);
        int saves = 0;
        screen.setSave([&saves] {
            ++saves;
            return Status();
        });
        f.dialogs.clear();
        screen.ui()->BtnOK->click();
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Vous devez selectionner une société"));
        QCOMPARE(saves, 0);
        screen.ui()->I_nom->setCurrentText(QStringLiteral("ANCIEN"));
        screen.ui()->BtnOK->click();
        QCOMPARE(saves, 1);
        QCOMPARE(screen.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestActionEntry)
#include "tst_actionentry.moc"

#include "screens.h"

#include "appcontext.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include "contractordirectorytab.h"
#include "deliverylisttab.h"
#include "deliverynote.h"
#include "documentprinting.h"
#include "lotlisttab.h"
#include "lotscreens.h"
#include "modal.h"
#include "firewoodstock.h"
#include "invoicelistdialog.h"
#include "invoiceprint.h"
#include "orderhooks.h"
#include "ordertab.h"
#include "planningdialog.h"
#include "progresschart.h"
#include "placelistdialog.h"
#include "postitboard.h"
#include "postitdialog.h"
#include "referencelistdialog.h"
#include "referencelists.h"
#include "settingsdialog.h"
#include "stockscreens.h"
#include "userlistdialog.h"

namespace ravelin {

void installScreens(MainWindow &window, AppContext &context)
{
    QWidget *parent = &window;
    window.setOpener(QStringLiteral("&Gestion des mots de passes"), [&context, parent] {
        UserListDialog screen(context, parent);
        runModal(screen);
    });
    window.setOpener(QStringLiteral("Paramètres Logiciel"), [&context, parent] {
        SettingsDialog screen(context, parent);
        if (screen.loaded()) runModal(screen);
    });
    window.setOpener(QStringLiteral("Liste des clients"), [&context, parent] { openCustomerList(context, parent); });
    window.setOpener(QStringLiteral("Postit"), [&context, parent] {
        PostitDialog screen(context, parent);
        runModal(screen);
    });
    auto *postits = new PostitBoard(context, &window, window.postitTimer());
    QObject::connect(&window, &MainWindow::postitTick, postits, &PostitBoard::check);
    window.setOpener(QStringLiteral("Liste des Factures"), [&context, parent] { openInvoiceList(context, parent); });
    setInvoicePrinter(printInvoiceDocument);
    window.setOpener(QStringLiteral("Planning transport Plaquette"),
                     [&context, parent] { openTransportPlanning(context, parent); });
    orderHooks().deliveryNote = [](AppContext &c, int inc, QWidget *from) {
        printDeliveryNote(c, inc, logsOrigin(), from);
    };

    auto *lots = new LotListTab(context);
    window.setTabContent(MainWindow::LotsTab, lots, lots);
    QObject::connect(lots, &LotListTab::loadTimeMeasured, window.statusPanel(5), &QLabel::setText);
    QObject::connect(lots, &LotListTab::chartRedrawRequested, window.chartTimer(), qOverload<>(&QTimer::start));
    QObject::connect(&window, &MainWindow::chartTick, lots, &LotListTab::drawProgressChart);
    showRecomputeProgressIn(window.ui()->Label_recalcul);
    window.setOpener(QStringLiteral("Info n° Grumes"), [&context, parent] { openLogInquiry(context, parent); });

    auto *orders = new OrderTab(context);
    window.setTabContent(MainWindow::OrdersTab, orders, orders);
    QObject::connect(orders, &OrderTab::loadTimeMeasured, window.statusPanel(5), &QLabel::setText);
    QObject::connect(lots, &LotListTab::lotCreated, orders, &OrderTab::clearClientFilter);
    setStockStatusHandler([label = QPointer<QLabel>(window.ui()->Label_recalcul)](const QString &text) {
        if (!label) return;
        label->setText(text);
        label->setVisible(!text.isEmpty());
        label->repaint();
    });

    for (const StockOpener &entry : stockOpeners(context, parent, [lots] { lots->search(); }))
        window.setOpener(entry.caption, entry.open);
    installOrderStockPicker();

    auto *deliveries = new DeliveryListTab(context);
    window.setTabContent(MainWindow::ChipsTab, deliveries, deliveries);
    deliveries->setNotePrinter([&context, deliveries](int inc, const QString &origin) {
        printDeliveryNote(context, inc, origin, deliveries);
    });
    QObject::connect(deliveries, &DeliveryListTab::loadTimeMeasured, window.statusPanel(5), &QLabel::setText);

    auto *contractors = new ContractorDirectoryTab(context);
    window.setTabContent(MainWindow::ContractorsTab, contractors, contractors);
    QObject::connect(contractors, &ContractorDirectoryTab::preparationTimed, window.statusPanel(5), &QLabel::setText);

    // The eight reference lists of the "&Fichier" menu; the menu checks each one's page.
    for (ReferenceTable table : referenceTables()) {
        window.setOpener(referenceTable(table).menuCaption,
                         [&context, parent, table] { openReferenceList(context, table, parent); });
    }
}

} // namespace ravelin

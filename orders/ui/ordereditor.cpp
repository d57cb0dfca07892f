#include "ordereditor.h"
#include "ui_ordereditor.h"

#include "actionentrydialog.h"
#include "appcontext.h"
#include "boundquery.h"
#include "contractorrates.h"
#include "dialogs.h"
#include "editorsave.h"
#include "formats.h"
#include "listgrid.h"
#include "modal.h"
#include "orderactions.h"
#include "orderlines.h"
#include "orderlogsdialog.h"
#include "orderstore.h"
#include "placelistdialog.h"
#include "productlinedialog.h"
#include "rowsave.h"
#include "textlimits.h"

#include <QDateTime>
#include <QEvent>

namespace ravelin {

namespace {

QString text(const QSqlRecord &r, const char *column)
{
    return r.value(QLatin1String(column)).toString();
}

// The date shown in a date field written back with the time it had, so that an unchanged day is
// no change.
QVariant dateTimeOf(const QDate &shown, const QVariant &stored)
{
    const QDateTime before = stored.toDateTime();
    if (before.isValid() && before.date() == shown) return stored;
    return QDateTime(shown, before.isValid() ? before.time() : QTime(0, 0));
}

} // namespace

OrderEditor::OrderEditor(AppContext &context, const QSqlRecord &order, bool newOrder, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_cde>()), m_context(context), m_asRead(order),
      m_inc(order.value(QStringLiteral("inc")).toInt()),
      m_closed(!newOrder && text(order, "facturee") == QLatin1String("OUI"))
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("cde"));

    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration lines;
    lines.screen = QStringLiteral("detail_cde_produits");
    lines.columns = {
        {QStringLiteral("essence"), QString(), QString(), 100},
        {QStringLiteral("qualite"), QString(), QString(), 80},
        {QStringLiteral("qte_liv"), QString(), amounts, 70},
        {QStringLiteral("unite_liv"), QString(), QString(), 45},
        {QStringLiteral("prix_unit"), QStringLiteral("prix unit €"), amounts, 70},
        {QStringLiteral("prix_total"), QStringLiteral("prix total €"), amounts, 80},
        {QStringLiteral("n_lot"), QStringLiteral("n_lot/stock"), QString(), 90},
    };
    lines.key = QStringLiteral("inc");
    m_lines = new ListGrid(context, m_ui->Grille_produits, lines);

    ListDeclaration actions;
    actions.screen = QStringLiteral("detail_cde_actions");
    actions.columns = {
        {QStringLiteral("I_nom"), QString(), QString(), 120},
        {QStringLiteral("type1"), QString(), QString(), 90},
        {QStringLiteral("i_date"), QString(), QStringLiteral("dd/mm/yyyy"), 75},
        {QStringLiteral("qte_action"), QString(), amounts, 70},
        {QStringLiteral("unite_action"), QString(), QString(), 50},
        {QStringLiteral("prix_unit_action"), QString(), amounts, 70},
        {QStringLiteral("i_cout"), QString(), amounts, 80},
        {QStringLiteral("N_lot"), QString(), QString(), 70},
    };
    actions.key = QStringLiteral("inc");
    m_actions = new ListGrid(context, m_ui->Grille_actions, actions);

    loadFields();
    if (m_closed) lockClosedOrder();
    // the totals were just read with the order
    loadLines();
    loadActions();

    m_ui->client->installEventFilter(this);
    connect(m_ui->BtnAfficher, &QPushButton::clicked, this, &OrderEditor::choosePlace);
    connect(m_ui->type_cde, &QComboBox::currentTextChanged, this, &OrderEditor::setCustomerCaption);
    connect(m_ui->BtnCreerProduit, &QToolButton::clicked, this, &OrderEditor::addLine);
    connect(m_ui->BtnModifierProduit, &QToolButton::clicked, this, &OrderEditor::changeLine);
    connect(m_ui->Grille_produits, &QTableView::doubleClicked, this, &OrderEditor::changeLine);
    connect(m_ui->BtnSupprimerProduit, &QToolButton::clicked, this, &OrderEditor::removeLine);
    connect(m_ui->BtnVoirGrumes, &QPushButton::clicked, this, &OrderEditor::showLogs);
    connect(m_ui->BtnCreerAction, &QToolButton::clicked, this, &OrderEditor::addAction);
    connect(m_ui->BtnModifierAction, &QToolButton::clicked, this, &OrderEditor::changeAction);
    connect(m_ui->BtnSupprimerAction, &QToolButton::clicked, this, &OrderEditor::removeAction);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &OrderEditor::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

OrderEditor::~OrderEditor() = default;

void OrderEditor::loadFields()
{
    const QSqlRecord &r = m_asRead;
    QStringList types = orderTypes();
    if (text(r, "type_cde") == transferType()) types << transferType();
    m_ui->type_cde->addItems(types);
    m_ui->type_cde->setCurrentIndex(int(types.indexOf(text(r, "type_cde"))));
    m_ui->type_cde->setEnabled(false);
    m_ui->date_cde->setDate(r.value(QStringLiteral("date_cde")).toDateTime().date());
    m_ui->date_souhaitee->setDate(r.value(QStringLiteral("date_souhaitee")).toDateTime().date());
    m_ui->n_cde_client->setText(text(r, "n_cde_client"));
    m_ui->inc->setText(QString::number(m_inc));
    m_ui->client->setText(text(r, "client"));
    m_ui->destination->setText(text(r, "destination"));
    m_ui->adresse_liv->setText(text(r, "adresse_liv"));
    m_ui->cp_liv->setText(text(r, "cp_liv"));
    m_ui->ville_liv->setText(text(r, "ville_liv"));
    m_ui->pays_liv->setText(text(r, "pays_liv"));
    m_ui->corps_cde->setPlainText(text(r, "corps_cde"));
    m_ui->unite_liv->addItems({QStringLiteral("m3"), QStringLiteral("T"), QStringLiteral("Stere")});
    if (m_ui->unite_liv->findText(text(r, "unite_liv")) < 0) m_ui->unite_liv->addItem(text(r, "unite_liv"));
    m_ui->unite_liv->setCurrentText(text(r, "unite_liv"));
    m_ui->unite_liv->setEnabled(false);
    m_ui->Unite_grume_livree->setText(text(r, "unite_liv"));
    m_ui->livree->addItems({QStringLiteral("NON"), QStringLiteral("OUI")});
    m_ui->livree->setCurrentIndex(text(r, "livree") == QLatin1String("OUI") ? 1 : 0);
    m_ui->facturee->addItems({QStringLiteral("NON"), QStringLiteral("OUI")});
    m_ui->facturee->setCurrentIndex(text(r, "facturee") == QLatin1String("OUI") ? 1 : 0);
    setCustomerCaption();
    showTotals(r);
}

void OrderEditor::setCustomerCaption()
{
    m_ui->Label_client->setText(m_ui->type_cde->currentText() == transferType() ? QStringLiteral("STOCK")
                                                                                : QStringLiteral("Client"));
}

void OrderEditor::lockClosedOrder()
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_ui->BtnCreerAction, m_ui->BtnModifierAction, m_ui->BtnSupprimerAction, m_ui->type_cde, m_ui->date_cde,
             m_ui->n_cde_client, m_ui->client, m_ui->BtnAfficher, m_ui->destination, m_ui->adresse_liv, m_ui->cp_liv,
             m_ui->ville_liv, m_ui->pays_liv, m_ui->corps_cde, m_ui->qte_liv_totale, m_ui->unite_liv, m_ui->prix_vente,
             m_ui->livree})
        w->setEnabled(false);
}

void OrderEditor::showTotals(const QSqlRecord &order)
{
    m_ui->qte_liv_totale->setText(
        formatValue(order.value(QStringLiteral("qte_liv_totale")), QStringLiteral("# ##0.00")));
    m_ui->prix_vente->setText(formatValue(order.value(QStringLiteral("prix_vente")), QStringLiteral("# ##0.00")));
    m_ui->grume_livree->setText(formatValue(order.value(QStringLiteral("grume_livree")), QStringLiteral("# ##0.00")));
    m_ui->total_cout_action->setText(
        formatValue(order.value(QStringLiteral("total_cout_action")), QStringLiteral("# ##0.00")));
}

void OrderEditor::loadLines()
{
    if (Status s = m_lines->setQuery(m_context.db, productLinesQuery(m_inc)); !s) m_context.dialogs->error(s.error());
    if (auto logs = readOrderLogTotals(m_context.db, m_inc)) {
        m_ui->volume_grumes->setText(formatNumber(logs->volume, QStringLiteral("# ##0.00")));
        m_ui->nombre_grumes->setText(QString::number(logs->count));
    }
}

void OrderEditor::loadActions()
{
    if (Status s = m_actions->setQuery(m_context.db, orderActionsQuery(m_inc)); !s) m_context.dialogs->error(s.error());
}

void OrderEditor::refreshLines()
{
    loadLines();
    // the totals the line operations wrote
    if (auto order = loadOrder(m_context.db, m_inc)) showTotals(*order);
}

void OrderEditor::reloadActions()
{
    loadActions();
    if (auto order = loadOrder(m_context.db, m_inc)) showTotals(*order);
}

std::optional<int> OrderEditor::currentLineInc() const
{
    if (m_lines->rowCount() == 0) return std::nullopt;
    const int row = qMax(0, m_lines->currentRow());
    return m_lines->raw(row, QStringLiteral("inc")).toInt();
}

void OrderEditor::choosePlace()
{
    const auto place =
        pickCustomerPlace(m_context, this, m_ui->client->text(), m_ui->type_cde->currentText() == transferType());
    if (!place) return;
    const auto v = [&](const char *column) { return place->value(QLatin1String(column)).toString(); };
    m_ui->client->setText(v("client"));
    m_ui->adresse_liv->setText(v("adresse"));
    m_ui->ville_liv->setText(v("ville"));
    m_ui->cp_liv->setText(v("cp"));
    m_ui->pays_liv->setText(v("pays"));
    m_ui->destination->setText(v("destination"));
}

bool OrderEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->client && event->type() == QEvent::MouseButtonRelease && m_ui->client->isEnabled()) {
        choosePlace();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool OrderEditor::refusedWhenInvoiced(const QString &message)
{
    // read again: the order may have been invoiced since the editor opened
    auto order = loadOrder(m_context.db, m_inc);
    if (!order) {
        m_context.dialogs->error(order.error());
        return true;
    }
    if (text(*order, "facturee") != QLatin1String("OUI")) return false;
    m_context.dialogs->message(message);
    return true;
}

void OrderEditor::addLine()
{
    if (refusedWhenInvoiced(invoicedAddRefusal())) return;
    ProductLine fresh;
    fresh.uniteConso = m_context.defaultUnit();
    const QString saleUnit = text(m_asRead, "unite_liv");
    ProductLineDialog dialog(m_context, fresh, saleUnit, m_context.defaultUnit(), false, this);
    if (runModal(dialog) != QDialog::Accepted) return;
    const LineContext around{
        dateTimeOf(m_ui->date_cde->date(), m_asRead.value(QStringLiteral("date_cde"))).toDateTime(),
        m_ui->client->text(), m_context.defaultUnit()};
    auto added = addProductLine(m_context.db, m_inc, dialog.line(), around);
    if (!added) m_context.dialogs->error(added.error());
    refreshLines();
    if (added) m_lines->selectKey(*added);
}

void OrderEditor::changeLine()
{
    const auto inc = currentLineInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (refusedWhenInvoiced(invoicedChangeRefusal())) return;
    const int row = qMax(0, m_lines->currentRow());
    const auto raw = [&](const char *column) { return m_lines->raw(row, QLatin1String(column)); };
    ProductLine current;
    current.origin = raw("choix_depart").toString();
    current.essence = raw("essence").toString();
    current.qualite = raw("qualite").toString();
    current.qteLiv = raw("qte_liv");
    current.prixUnit = raw("prix_unit");
    current.nLot = raw("n_lot").toString();
    current.stockBuche = raw("stock_buche").toString();
    ProductLineDialog dialog(m_context, current, raw("unite_liv").toString(), m_context.defaultUnit(), true, this);
    if (runModal(dialog) != QDialog::Accepted) {
        refreshLines();
        return;
    }
    const ProductLine edited = dialog.line();
    if (Status s = changeProductLine(m_context.db, *inc, edited.qteLiv, edited.prixUnit); !s)
        m_context.dialogs->error(s.error());
    refreshLines();
}

void OrderEditor::removeLine()
{
    const auto inc = currentLineInc();
    if (!inc) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (refusedWhenInvoiced(invoicedRemoveRefusal())) return;
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer ce volume ?"))) return;
    auto removed = removeProductLine(m_context.db, *inc);
    if (!removed) m_context.dialogs->error(removed.error());
    else if (!removed->warning.isEmpty()) m_context.dialogs->message(removed->warning);
    refreshLines();
}

void OrderEditor::showLogs()
{
    OrderLogsDialog logs(m_context, m_inc, m_closed, this);
    connect(&logs, &OrderLogsDialog::logsChanged, this, &OrderEditor::refreshLines);
    runModal(logs);
    refreshLines();
}

ActionEntrySetup OrderEditor::actionSetup(const QList<ContractorRates> &contractors) const
{
    ActionEntrySetup setup;
    setup.screenName = QStringLiteral("liste_intervention_cde");
    setup.table = QStringLiteral("liste_action_cde");
    setup.contractors = contractors;
    setup.types = orderActionTypes();
    setup.showLot = true;
    return setup;
}

void OrderEditor::addAction()
{
    if (m_lines->rowCount() == 0) {
        m_context.dialogs->message(productLineRequiredMessage());
        return;
    }
    // every contractor but those of the family "RIEN"
    auto contractors = contractorsExceptFamily(m_context.db, QStringLiteral("RIEN"));
    if (!contractors) {
        m_context.dialogs->error(contractors.error());
        return;
    }
    auto order = loadOrder(m_context.db, m_inc);
    if (!order) {
        m_context.dialogs->error(order.error());
        return;
    }
    // the action names the product line selected in the editor
    const int row = qMax(0, m_lines->currentRow());
    ActionEntry entry;
    entry.iDate = QDate::currentDate();
    entry.qteAction = order->value(QStringLiteral("qte_liv_totale"));
    entry.nLot = m_lines->raw(row, QStringLiteral("n_lot")).toString();
    const QVariant id = m_lines->raw(row, QStringLiteral("id"));
    ActionEntryDialog dialog(m_context, actionSetup(*contractors), entry, this);
    std::optional<int> added;
    dialog.setSave([&]() -> Status {
        const ActionEntry e = dialog.entry();
        auto inc = addOrderAction(m_context.db, m_inc, OrderAction{e, id});
        if (!inc) return inc.error();
        added = *inc;
        return {};
    });
    runModal(dialog);
    reloadActions();
    if (added) m_actions->selectKey(*added);
}

void OrderEditor::changeAction()
{
    const bool shown = changeSelectedAction(
        m_context, *m_actions, QStringLiteral("RIEN"),
        [this](const QList<ContractorRates> &contractors) { return actionSetup(contractors); },
        [this](int actionInc, const QList<ColumnChange> &changes) {
            return changeOrderAction(m_context.db, m_inc, actionInc, changes);
        },
        this);
    if (shown) reloadActions();
}

void OrderEditor::removeAction()
{
    if (m_actions->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const int row = qMax(0, m_actions->currentRow());
    const int inc = m_actions->raw(row, QStringLiteral("inc")).toInt();
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette intervention ?"))) return;
    if (Status s = removeOrderAction(m_context.db, m_inc, inc); !s) m_context.dialogs->error(s.error());
    reloadActions();
}

QList<ColumnChange> OrderEditor::columnChanges() const
{
    const QSqlRecord &r = m_asRead;
    QList<ColumnChange> changes;
    const auto add = [&](const char *column, const QVariant &value, const char *caption) {
        const QVariant read = r.value(QLatin1String(column));
        // an empty field left empty is no change, whether the row held null or ""
        if (read.toString().isEmpty() && value.toString().isEmpty() && value.typeId() == QMetaType::QString) return;
        changes.append({QLatin1String(column), read, value, QString::fromUtf8(caption)});
    };
    const auto textValue = [](const QString &t) { return QVariant(t); };
    add("date_cde", dateTimeOf(m_ui->date_cde->date(), r.value(QStringLiteral("date_cde"))), "Date Commande");
    add("date_souhaitee", dateTimeOf(m_ui->date_souhaitee->date(), r.value(QStringLiteral("date_souhaitee"))),
        "Date Livraison");
    add("n_cde_client", textValue(m_ui->n_cde_client->text()), "N° commande client");
    add("client", textValue(m_ui->client->text()), "Client");
    add("destination", textValue(m_ui->destination->text()), "Destination");
    add("adresse_liv", textValue(m_ui->adresse_liv->text()), "Adresse");
    add("cp_liv", textValue(m_ui->cp_liv->text()), "Code postal");
    add("ville_liv", textValue(m_ui->ville_liv->text()), "Ville");
    add("pays_liv", textValue(m_ui->pays_liv->text()), "Pays");
    add("corps_cde", textValue(m_ui->corps_cde->toPlainText()), "Corps de la commande");
    // the marks are written only when the user changed them
    const QString livree = m_ui->livree->currentText();
    if (livree != (text(r, "livree") == QLatin1String("OUI") ? QStringLiteral("OUI") : QStringLiteral("NON")))
        add("livree", livree, "Livrée");
    const QString facturee = m_ui->facturee->currentText();
    if (facturee != (text(r, "facturee") == QLatin1String("OUI") ? QStringLiteral("OUI") : QStringLiteral("NON")))
        add("facturee", facturee, "Facturée");
    else
        changes.append({QStringLiteral("facturee"), r.value(QStringLiteral("facturee")),
                        r.value(QStringLiteral("facturee")), QStringLiteral("Facturée")});
    return changes;
}

void OrderEditor::validate()
{
    if (m_ui->type_cde->currentText().isEmpty()) {
        m_context.dialogs->message(orderTypeRequiredMessage());
        return;
    }
    if (m_ui->unite_liv->currentText().isEmpty()) {
        m_context.dialogs->message(orderUnitRequiredMessage());
        return;
    }
    if (m_ui->client->text().isEmpty()) {
        m_context.dialogs->message(orderClientRequiredMessage());
        return;
    }
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

} // namespace ravelin

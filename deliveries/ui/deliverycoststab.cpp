#include "deliverycoststab.h"
#include "ui_deliveryeditor.h"

#include "appcontext.h"
#include "dialogs.h"
#include "actionentrydialog.h"
#include "contractorrates.h"
#include "listgrid.h"
#include "lotrecompute.h"
#include "modal.h"
#include "namelists.h"

#include <QHeaderView>

namespace ravelin {

DeliveryCostsTab::DeliveryCostsTab(AppContext &context, Ui::detail_livraison &ui, const QSqlRecord &delivery,
                                   QObject *parent)
    : QObject(parent), m_context(context), m_ui(ui), m_delivery(delivery),
      m_inc(delivery.value(QStringLiteral("inc")).toInt())
{
    const QString amounts = QStringLiteral("#,##0.00");
    const auto declaration = [&](const QString &screen, bool transport) {
        ListDeclaration d;
        d.screen = screen;
        d.columns = {{QStringLiteral("type1"), QString(), QString(), 90},
                     {QStringLiteral("I_nom"), QString(), QString(), 160},
                     {QStringLiteral("i_date"), QString(), QString(), 80},
                     {QStringLiteral("qte_action"), QString(), amounts, 75},
                     {QStringLiteral("unite_action"), QString(), QString(), 70},
                     {QStringLiteral("prix_unit_action"), QString(), amounts, 90},
                     {QStringLiteral("i_cout"), QString(), amounts, 80}};
        if (transport)
            d.columns += QList<ListColumn>{{QStringLiteral("km_route"), QString(), QString(), 60},
                                           {QStringLiteral("temps_route"), QString(), QString(), 80}};
        d.key = QStringLiteral("inc");
        return d;
    };
    m_purchases = new ListGrid(context, ui.Grille_achat, declaration(QStringLiteral("Grille_achat"), false));
    m_transport = new ListGrid(context, ui.Grille_transport, declaration(QStringLiteral("Grille_transport"), true));
    m_chipping = new ListGrid(context, ui.Grille_broyage, declaration(QStringLiteral("Grille_broyage"), false));

    connect(ui.BtnCreerAchat, &QPushButton::clicked, this, [this] { createAction(ActionKind::Purchase); });
    connect(ui.BtnCreerTransport, &QPushButton::clicked, this, [this] { createAction(ActionKind::Transport); });
    connect(ui.BtnCreerBroyage, &QPushButton::clicked, this, [this] { createAction(ActionKind::Chipping); });
    connect(ui.BtnSupprimerAchat, &QPushButton::clicked, this, [this] { deleteAction(ActionKind::Purchase); });
    connect(ui.BtnSupprimerTransport, &QPushButton::clicked, this, [this] { deleteAction(ActionKind::Transport); });
    connect(ui.BtnSupprimerBroyage, &QPushButton::clicked, this, [this] { deleteAction(ActionKind::Chipping); });
    connect(ui.BtnKm, &QPushButton::clicked, this, &DeliveryCostsTab::changeKilometres);
    connect(ui.BtnTemps, &QPushButton::clicked, this, &DeliveryCostsTab::changeRoadTime);
    reloadAll();
}

DeliveryCostsTab::~DeliveryCostsTab() = default;

ListGrid *DeliveryCostsTab::grid(ActionKind kind) const
{
    switch (kind) {
    case ActionKind::Purchase: return m_purchases;
    case ActionKind::Transport: return m_transport;
    case ActionKind::Chipping: return m_chipping;
    }
    return nullptr;
}

void DeliveryCostsTab::setInvoiced(bool invoiced)
{
    for (QPushButton *b : {m_ui.BtnCreerAchat, m_ui.BtnSupprimerAchat, m_ui.BtnCreerTransport,
                           m_ui.BtnSupprimerTransport, m_ui.BtnCreerBroyage, m_ui.BtnSupprimerBroyage})
        b->setEnabled(!invoiced);
}

void DeliveryCostsTab::reload(ActionKind kind)
{
    auto lines = deliveryActions(m_context.db, m_inc, kind);
    if (!lines) {
        m_context.dialogs->error(lines.error());
        return;
    }
    grid(kind)->setTable(*lines);
}

void DeliveryCostsTab::reloadAll()
{
    for (ActionKind kind : {ActionKind::Purchase, ActionKind::Transport, ActionKind::Chipping}) reload(kind);
}

void DeliveryCostsTab::createAction(ActionKind kind)
{
    const QString type = actionKindType(kind);
    ActionEntrySetup setup;
    setup.screenName = QStringLiteral("liste_intervention_liv");
    setup.table = QStringLiteral("liste_action_liv");
    setup.requireCompany = true;
    // chipping and hauling come from their own families; a purchase or another job from anyone
    auto contractors = kind == ActionKind::Purchase ? contractorsExceptFamily(m_context.db, QString())
                                                    : contractorsOfFamily(m_context.db, type);
    if (!contractors) {
        m_context.dialogs->error(contractors.error());
        return;
    }
    setup.contractors = *contractors;
    if (kind == ActionKind::Purchase) {
        auto families = workFamilies(m_context.db);
        if (!families) {
            m_context.dialogs->error(families.error());
            return;
        }
        setup.types = *families;
        if (!setup.types.contains(type)) setup.types.prepend(type);
    } else {
        setup.types = {type};
    }

    ActionEntry line;
    line.type1 = type;
    line.iDate = QDate::currentDate();
    line.qteAction = m_tonnage ? m_tonnage() : QVariant();
    if (kind == ActionKind::Chipping) line.nLot = m_delivery.value(QStringLiteral("n_lot")).toString();

    ActionEntryDialog screen(m_context, setup, line, m_ui.Tab_couts);
    screen.setSave([&]() -> Status {
        const ActionEntry entry = screen.entry();
        DeliveryAction action{entry.type1,       entry.iNom,           entry.iDate, entry.qteAction,
                              entry.uniteAction, entry.prixUnitAction, entry.iCout, QVariant()};
        if (kind == ActionKind::Chipping)
            action.nLot = lotNumberOf(m_delivery.value(QStringLiteral("n_lot")))
                              ? m_delivery.value(QStringLiteral("n_lot"))
                              : QVariant();
        auto created = createDeliveryAction(m_context.db, m_inc, action);
        if (!created) return created.error();
        return {};
    });
    runModal(screen);
    reload(kind);
}

void DeliveryCostsTab::deleteAction(ActionKind kind)
{
    ListGrid *lines = grid(kind);
    if (lines->currentRow() < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer cette action ?"))) return;
    if (Status s = deleteDeliveryAction(m_context.db, m_inc, lines->currentKey().toInt()); !s)
        m_context.dialogs->error(s.error());
    reload(kind);
}

void DeliveryCostsTab::changeKilometres()
{
    if (m_transport->currentRow() < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const auto typed = m_context.dialogs->input(QStringLiteral("Saisie"), QStringLiteral("Nombre de Kilomètre"));
    const auto km = typed ? parseKilometres(*typed) : std::nullopt;
    if (!km) {
        m_context.dialogs->message(incorrectValueMessage());
        return;
    }
    if (Status s = setActionKilometres(m_context.db, m_transport->currentKey().toInt(), *km); !s)
        m_context.dialogs->error(s.error());
    reload(ActionKind::Transport);
}

void DeliveryCostsTab::changeRoadTime()
{
    if (m_transport->currentRow() < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const auto typed =
        m_context.dialogs->input(QStringLiteral("Saisie"), QStringLiteral("Durée du trajet (ex: 00:25:10 )"));
    const auto time = typed ? parseRoadTime(*typed) : std::nullopt;
    if (!time) {
        m_context.dialogs->message(incorrectValueMessage());
        return;
    }
    if (Status s = setActionRoadTime(m_context.db, m_transport->currentKey().toInt(), *time); !s)
        m_context.dialogs->error(s.error());
    reload(ActionKind::Transport);
}

} // namespace ravelin

#include "loginquirydialog.h"
#include "ui_loginquirydialog.h"

#include "appcontext.h"
#include "dialogs.h"
#include "formats.h"
#include "gridmodel.h"
#include "listgrid.h"

namespace ravelin {

LogInquiryDialog::LogInquiryDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::info_grume>()), m_context(context)
{
    m_ui->setupUi(this);
    const QString amounts = QStringLiteral("#,##0.00");
    ListDeclaration logs;
    logs.screen = QStringLiteral("info_grume");
    logs.columns = {
        {QStringLiteral("n_grume"), QString(), QString(), 80},
        {QStringLiteral("essence"), QString(), QString(), 110},
        {QStringLiteral("qualite"), QString(), QString(), 90},
        {QStringLiteral("classe"), QString(), QString(), 50},
        {QStringLiteral("diametre"), QString(), amounts, 60},
        {QStringLiteral("longueur"), QString(), amounts, 60},
        {QStringLiteral("m3"), QString(), amounts, 70},
        {QStringLiteral("N_lot"), QStringLiteral("N°coupe"), QString(), 70},
        {QStringLiteral("livree"), QString(), QString(), 50},
        {QStringLiteral("lieu"), QString(), QString(), 140},
        {QStringLiteral("stock"),
         QString(),
         QString(),
         110,
         {},
         [](const ListGrid &grid, int row) {
             return grid.raw(row, QStringLiteral("stock")).toString().isEmpty() ? QColor()
                                                                                : rgb(QStringLiteral("FFA4A4"));
         }},
        {QStringLiteral("inc_cde"), QString(), QString(), 70},
    };
    logs.key = QStringLiteral("inc");
    logs.rowColour = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("livree")).toString() == QLatin1String("OUI")
                   ? rgb(QStringLiteral("00FF00"))
                   : QColor();
    };
    // the count of a long list (every free log of twenty years) follows its first page, counted on
    // the grid's own connection while the user already reads the logs
    logs.counter = m_ui->Label_nb;
    logs.counterFormat = QStringLiteral("( nb %1 )");
    m_list = new ListGrid(context, m_ui->Grille_grumes, logs);

    m_panelTimer.setSingleShot(true);
    m_panelTimer.setInterval(200);
    connect(&m_panelTimer, &QTimer::timeout, this, &LogInquiryDialog::loadPanels);
    connect(m_list, &ListGrid::currentRowChanged, &m_panelTimer, qOverload<>(&QTimer::start));
    connect(m_ui->BtnChercher, &QPushButton::clicked, this, &LogInquiryDialog::search);
    connect(m_ui->Disponible, &QCheckBox::toggled, this, &LogInquiryDialog::search);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &LogInquiryDialog::accept);
    search();
}

LogInquiryDialog::~LogInquiryDialog() = default;

GridModel *LogInquiryDialog::logs() const
{
    return m_list->model();
}

PagedQueryModel *LogInquiryDialog::logSource() const
{
    return m_list->pagedModel();
}

void LogInquiryDialog::search()
{
    LogInquiry inquiry;
    inquiry.logNumber = m_ui->N_grume->text();
    inquiry.lotNumber = m_ui->N_lot->text();
    inquiry.availableOnly = m_ui->Disponible->isChecked();
    auto statement = logInquiryQuery(inquiry);
    if (!statement) {
        m_context.dialogs->error(statement.error());
        return;
    }
    // the selected log stays selected when the new list holds it, else the first one is
    if (Status s = m_list->setQuery(*statement); !s) m_context.dialogs->error(s.error());
}

void LogInquiryDialog::loadPanels()
{
    const QVariant nLot = m_list->currentValue(QStringLiteral("N_lot"));
    const QVariant incCde = m_list->currentValue(QStringLiteral("inc_cde"));

    QSqlRecord lot;
    if (!nLot.isNull()) {
        auto found = lotSummary(m_context.db, nLot);
        if (!found) {
            m_context.dialogs->error(found.error());
            return;
        }
        lot = *found;
    }
    m_ui->Lieu_parcelle->setText(lot.value(QStringLiteral("lieu")).toString());
    m_ui->Adresse_parcelle->setText(lot.value(QStringLiteral("adresse")).toString());
    m_ui->Cp_parcelle->setText(lot.value(QStringLiteral("cp")).toString());
    m_ui->N_coupe->setText(lot.value(QStringLiteral("n_lot")).toString());
    m_ui->Type_achat->setText(lot.value(QStringLiteral("type_achat")).toString());

    QSqlRecord order;
    if (!incCde.isNull() && !incCde.toString().isEmpty()) {
        auto found = orderSummary(m_context.db, incCde);
        if (!found) {
            m_context.dialogs->error(found.error());
            return;
        }
        order = *found;
    }
    const auto dateText = [&](const char *column) {
        const QVariant v = order.value(QLatin1String(column));
        if (v.isNull()) return QString();
        return formatDate(v.typeId() == QMetaType::QDate ? v.toDate() : v.toDateTime().date());
    };
    m_ui->N_commande->setText(order.value(QStringLiteral("inc")).toString());
    m_ui->Facturee->setText(order.value(QStringLiteral("facturee")).toString());
    m_ui->Livree->setText(order.value(QStringLiteral("livree")).toString());
    m_ui->N_cde_client->setText(order.value(QStringLiteral("n_cde_client")).toString());
    m_ui->Date_souhaitee->setText(dateText("date_souhaitee"));
    m_ui->Date_cde->setText(dateText("date_cde"));
    m_ui->Operation->setText(order.value(QStringLiteral("type_cde")).toString());
    m_ui->Adresse->setText(order.value(QStringLiteral("adresse_liv")).toString());
    m_ui->Code_postal->setText(order.value(QStringLiteral("cp_liv")).toString());
    m_ui->Ville->setText(order.value(QStringLiteral("ville_liv")).toString());
    m_ui->Pays->setText(order.value(QStringLiteral("pays_liv")).toString());
    m_ui->Client->setText(order.value(QStringLiteral("client")).toString());
}

} // namespace ravelin

#include "loginquirydialog.h"
#include "ui_loginquirydialog.h"

#include "appcontext.h"
#include "formats.h"
#include "dialogs.h"
#include "gridhelpers.h"

#include "pagedlist.h"
#include "pagedquerymodel.h"

namespace ravelin {

LogInquiryDialog::LogInquiryDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::info_grume>()), m_context(context),
      m_source(new PagedQueryModel(this)), m_grid(new GridModel(this))
{
    m_ui->setupUi(this);
    m_grid->setSourceModel(m_source);
    for (const char *c : {"diametre", "longueur", "m3"})
        m_grid->setFormat(QLatin1String(c), QStringLiteral("#,##0.00"));
    m_grid->setCaption(QStringLiteral("N_lot"), QStringLiteral("N°coupe"));
    m_grid->setCellColour([this](const QAbstractItemModel *, int row, int column) {
        if (column == m_grid->column(QStringLiteral("stock")) &&
            !m_grid->raw(row, QStringLiteral("stock")).toString().isEmpty())
            return rgb(QStringLiteral("FFA4A4"));
        return QColor();
    });
    m_grid->setRowColour([this](const QAbstractItemModel *, int row) {
        if (m_grid->raw(row, QStringLiteral("livree")).toString() == QLatin1String("OUI"))
            return rgb(QStringLiteral("00FF00"));
        return QColor();
    });
    prepareGrid(m_ui->Grille_grumes);
    m_ui->Grille_grumes->setModel(m_grid);

    m_panelTimer.setSingleShot(true);
    m_panelTimer.setInterval(200);
    connect(&m_panelTimer, &QTimer::timeout, this, &LogInquiryDialog::loadPanels);
    connect(m_ui->BtnChercher, &QPushButton::clicked, this, &LogInquiryDialog::search);
    connect(m_ui->Disponible, &QCheckBox::toggled, this, &LogInquiryDialog::search);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &LogInquiryDialog::accept);
    // the count of a long list arrives once its first page is shown
    followCount(*m_source, *m_ui->Label_nb, QStringLiteral("( nb %1 )"));
    connect(m_source, &PagedQueryModel::failed, this, [this](const Error &e) { showFailure(*m_context.dialogs, e); });
    search();
}

LogInquiryDialog::~LogInquiryDialog() = default;

void LogInquiryDialog::search()
{
    LogInquiry inquiry;
    inquiry.logNumber = m_ui->N_grume->text();
    inquiry.lotNumber = m_ui->N_lot->text();
    inquiry.availableOnly = m_ui->Disponible->isChecked();
    auto statement = logInquiryQuery(inquiry);
    if (!statement) {
        showFailure(*m_context.dialogs, statement.error());
        return;
    }
    if (Status s = m_source->setQuery(m_context.db, *statement); !s) {
        showFailure(*m_context.dialogs, s.error());
        return;
    }
    connect(m_ui->Grille_grumes->selectionModel(), &QItemSelectionModel::currentRowChanged, &m_panelTimer,
            qOverload<>(&QTimer::start), Qt::UniqueConnection);
    showColumns(m_ui->Grille_grumes, *m_grid,
                {{QStringLiteral("n_grume"), 80},
                 {QStringLiteral("essence"), 110},
                 {QStringLiteral("qualite"), 90},
                 {QStringLiteral("classe"), 50},
                 {QStringLiteral("diametre"), 60},
                 {QStringLiteral("longueur"), 60},
                 {QStringLiteral("m3"), 70},
                 {QStringLiteral("N_lot"), 70},
                 {QStringLiteral("livree"), 50},
                 {QStringLiteral("lieu"), 140},
                 {QStringLiteral("stock"), 110},
                 {QStringLiteral("inc_cde"), 70}});
    if (m_grid->rowCount() > 0)
        m_ui->Grille_grumes->setCurrentIndex(m_grid->index(0, m_grid->column(QStringLiteral("n_grume"))));
    else m_panelTimer.start();
}

void LogInquiryDialog::loadPanels()
{
    const QModelIndex i = m_ui->Grille_grumes->currentIndex();
    const int row = (i.isValid() && m_grid->rowCount() > 0) ? i.row() : -1;
    const QVariant nLot = row < 0 ? QVariant() : m_grid->raw(row, QStringLiteral("N_lot"));
    const QVariant incCde = row < 0 ? QVariant() : m_grid->raw(row, QStringLiteral("inc_cde"));

    QSqlRecord lot;
    if (!nLot.isNull()) {
        auto found = lotSummary(m_context.db, nLot);
        if (!found) {
            showFailure(*m_context.dialogs, found.error());
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
            showFailure(*m_context.dialogs, found.error());
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

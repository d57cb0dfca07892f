#include "productsdialog.h"
#include "ui_productsdialog.h"

#include "appcontext.h"
#include "chartwidget.h"
#include "formats.h"
#include "gridhelpers.h"
#include "gridmodel.h"
#include "modal.h"
#include "volumelinedetaildialog.h"

#include <QSignalBlocker>
#include <QSqlQueryModel>
#include <QVBoxLayout>

namespace ravelin {

ProductsDialog::ProductsDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_bois_dispo>()), m_context(context),
      m_source(new QSqlQueryModel(this)), m_grid(new GridModel(this))
{
    m_ui->setupUi(this);
    m_grid->setSourceModel(m_source);
    for (const char *c : {"m3", "a0", "a1"}) m_grid->setFormat(QLatin1String(c), QStringLiteral("#,##0.00"));
    prepareGrid(m_ui->Grille_produits);
    m_ui->Grille_produits->setModel(m_grid);

    m_chart = new ChartWidget(m_ui->Zone_graphique);
    auto *layout = new QVBoxLayout(m_ui->Zone_graphique);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart);
    ChartOptions options;
    options.kind = ChartKind::Pie;
    options.title = QStringLiteral("stock");
    options.marks = ChartMarks::LabelAndPercent;
    // by lot, hundreds of slices: the smallest together, so that the pie stays readable and quick
    options.otherBelowPercent = 1;
    m_chart->setOptions(options);

    connect(m_ui->rechercher, &QPushButton::clicked, this, &ProductsDialog::search);
    for (QLineEdit *field : {m_ui->Essence, m_ui->N_coupe})
        connect(field, &QLineEdit::returnPressed, this, &ProductsDialog::search);
    for (QCheckBox *box : {m_ui->check_essence, m_ui->check_coupe})
        connect(box, &QCheckBox::toggled, this, &ProductsDialog::search);
    connect(m_ui->designation, &QComboBox::currentTextChanged, this, &ProductsDialog::drawChart);
    connect(m_ui->BtnDetail, &QPushButton::clicked, this, &ProductsDialog::showDetail);
    connect(m_ui->Grille_produits, &QAbstractItemView::doubleClicked, this, &ProductsDialog::showDetail);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &ProductsDialog::reject);
    search();
}

ProductsDialog::~ProductsDialog() = default;

ProductsSearch ProductsDialog::wanted() const
{
    return ProductsSearch{m_ui->Essence->text(), m_ui->N_coupe->text(), m_ui->check_essence->isChecked(),
                          m_ui->check_coupe->isChecked()};
}

void ProductsDialog::search()
{
    const QString unit = m_context.defaultUnit();
    m_grid->setCaption(QStringLiteral("m3"), QStringLiteral("Quantité(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("a1"), QStringLiteral("Qte dispo(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("a0"), QStringLiteral("Qte livrée"));
    m_grid->setCaption(QStringLiteral("sur_pied"), QStringLiteral("Sur pied(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("abattage"), QStringLiteral("Abattage(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("debardage"), QStringLiteral("Debardage(") + unit + QLatin1Char(')'));
    m_ui->Groupe_total->setTitle(QStringLiteral("Quantité totale (") + unit + QLatin1Char(')'));
    // one of the two stays ticked: ticking the species runs the search again
    if (!m_ui->check_essence->isChecked() && !m_ui->check_coupe->isChecked()) {
        m_ui->check_essence->setChecked(true);
        return;
    }
    const ProductsSearch search = wanted();
    auto statement = productsAvailableQuery(search);
    if (!statement) {
        m_context.dialogs->error(statement.error());
        return;
    }
    if (Status s = loadModel(*m_source, m_context.db, *statement); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    QList<GridColumn> columns{{QStringLiteral("essence"), 120},
                              {QStringLiteral("m3"), 90},
                              {QStringLiteral("a1"), 90},
                              {QStringLiteral("a0"), 80}};
    if (search.byLot) columns.append({QStringLiteral("n_lot"), 70});
    columns += QList<GridColumn>{
        {QStringLiteral("sur_pied"), 90}, {QStringLiteral("abattage"), 90}, {QStringLiteral("debardage"), 90}};
    showColumns(m_ui->Grille_produits, *m_grid, columns);
    {
        const QSignalBlocker quiet(m_ui->designation);
        m_ui->designation->clear();
        m_ui->designation->addItems(productGroupings(search));
        m_ui->designation->setCurrentIndex(0);
    }
    drawChart();
    double available = 0;
    for (int row = 0; row < m_grid->rowCount(); ++row) available += m_grid->raw(row, QStringLiteral("a1")).toDouble();
    m_ui->Total->setText(formatNumber(available, QStringLiteral("0.00")) + QLatin1Char(' ') + unit);
    m_ui->Label_nb->setText(QStringLiteral("( nb : ") + QString::number(m_grid->rowCount()) + QStringLiteral(" )"));
    if (m_grid->rowCount() > 0) m_ui->Grille_produits->setCurrentIndex(m_grid->index(0, 0));
}

void ProductsDialog::drawChart()
{
    const QString label = m_ui->designation->currentText();
    QList<ChartPoint> slices;
    for (int row = 0; row < m_grid->rowCount(); ++row)
        slices.append({m_grid->raw(row, label).toString(), m_grid->raw(row, QStringLiteral("a1")).toDouble()});
    m_chart->setPoints(slices);
}

void ProductsDialog::showDetail()
{
    if (m_grid->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const QModelIndex current = m_ui->Grille_produits->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    AvailableLinesFilter filter;
    filter.descriptif = m_grid->raw(row, QStringLiteral("descriptif")).toString();
    const ProductsSearch search = wanted();
    const QString essence = search.bySpecies ? m_grid->raw(row, QStringLiteral("essence")).toString() : QString();
    const QString lot = search.byLot ? m_grid->raw(row, QStringLiteral("n_lot")).toString() : QString();
    if (!essence.isEmpty()) filter.essence = essence;
    if (!lot.isEmpty()) filter.nLot = lot;
    showVolumeLineDetail(m_context, filter, this);
}

void openProductsAvailable(AppContext &context, QWidget *parent)
{
    ProductsDialog screen(context, parent);
    runModal(screen);
}

} // namespace ravelin

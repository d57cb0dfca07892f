#include "placesearchdialog.h"
#include "ui_placesearchdialog.h"

#include "appcontext.h"
#include "gridmodel.h"
#include "modal.h"

#include <QHeaderView>
#include "pagedlist.h"
#include "pagedquerymodel.h"

#include <QSqlRecord>

namespace ravelin {

namespace {

// The grid's columns: name, width and whether the cells are centred.
struct Column
{
    const char *name;
    const char *caption;
    int width;
    bool centred;
};

constexpr Column shownColumns[] = {
    {"client", "client", 250, false},     {"destination", "destination", 250, false},
    {"stockage", "Zone Stock", 65, true}, {"cp", "CP", 85, true},
    {"ville", "Ville", 150, false},
};

} // namespace

PlaceSearchDialog::PlaceSearchDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::chercher_destination>()), m_context(context),
      m_model(new PagedQueryModel(this)), m_grid(new GridModel(this))
{
    m_ui->setupUi(this);
    m_grid->setSourceModel(m_model);
    for (const Column &c : shownColumns) {
        m_grid->setCaption(QString::fromLatin1(c.name), QString::fromUtf8(c.caption));
        if (c.centred) m_grid->setAlignment(QString::fromLatin1(c.name), Qt::AlignCenter);
    }
    // The cells that name a chip zone are tinted, so that a zone stands out among customer places.
    m_grid->setCellColour([this](const QAbstractItemModel *source, int row, int column) -> QColor {
        const int stockage = m_grid->column(QStringLiteral("stockage"));
        if (column != stockage && column != m_grid->column(QStringLiteral("destination"))) return {};
        if (source->index(row, stockage).data(Qt::EditRole).toString() != QLatin1String("OUI")) return {};
        return rgb(QStringLiteral("E1E1FF"));
    });
    m_ui->Grille_destination->setModel(m_grid);
    m_ui->Grille_destination->verticalHeader()->hide();
    for (QLineEdit *filter : {m_ui->client, m_ui->lieu, m_ui->ville})
        connect(filter, &QLineEdit::returnPressed, this, &PlaceSearchDialog::search);
    connect(m_ui->rech, &QPushButton::clicked, this, &PlaceSearchDialog::search);
    for (QRadioButton *choice : {m_ui->Choix_client, m_ui->Choix_stock, m_ui->Choix_tout})
        connect(choice, &QRadioButton::clicked, this, &PlaceSearchDialog::search);
    connect(m_ui->BtnSelectionner, &QPushButton::clicked, this, &PlaceSearchDialog::selectPlace);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &PlaceSearchDialog::reject);
    connect(m_ui->Grille_destination, &QAbstractItemView::doubleClicked, this, &PlaceSearchDialog::selectPlace);
    // every place of twenty years comes a page at a time as the grid scrolls; the count follows
    followCount(*m_model, *m_ui->nb, QStringLiteral("( nb : %1 )"));
    connect(m_model, &PagedQueryModel::failed, this, [this](const Error &e) { m_context.dialogs->error(e); });
}

PlaceSearchDialog::~PlaceSearchDialog() = default;

void PlaceSearchDialog::setSelection(PlaceSelection selection)
{
    switch (selection) {
    case PlaceSelection::Customers: m_ui->Choix_client->setChecked(true); break;
    case PlaceSelection::ChipZones: m_ui->Choix_stock->setChecked(true); break;
    case PlaceSelection::CustomersAndChipZones: m_ui->Choix_tout->setChecked(true); break;
    }
}

PlaceSelection PlaceSearchDialog::selection() const
{
    if (m_ui->Choix_client->isChecked()) return PlaceSelection::Customers;
    if (m_ui->Choix_stock->isChecked()) return PlaceSelection::ChipZones;
    return PlaceSelection::CustomersAndChipZones;
}

void PlaceSearchDialog::lockSelection()
{
    m_ui->Selection->setEnabled(false);
    m_ui->Selection->hide();
}

void PlaceSearchDialog::search()
{
    const QString kept = rowCount() > 0 ? currentPlace().value(QStringLiteral("destination")).toString() : QString();
    const PagedQuery list =
        placeListQuery(selection(), PlaceFilter{m_ui->client->text(), m_ui->lieu->text(), m_ui->ville->text()});
    if (Status s = m_model->setQuery(m_context.db, list); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    QTableView *view = m_ui->Grille_destination;
    for (int c = 0; c < m_model->columnCount(); ++c) view->setColumnHidden(c, true);
    for (const Column &c : shownColumns) {
        const int index = m_grid->column(QString::fromLatin1(c.name));
        view->setColumnHidden(index, false);
        view->setColumnWidth(index, c.width);
    }
    if (kept.isEmpty() || !locate(kept)) setCurrentRow(0);
}

int PlaceSearchDialog::rowCount() const
{
    return m_model->rowCount();
}

int PlaceSearchDialog::currentRow() const
{
    if (rowCount() == 0) return -1;
    const QModelIndex i = m_ui->Grille_destination->currentIndex();
    return i.isValid() ? i.row() : 0;
}

void PlaceSearchDialog::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) return;
    m_ui->Grille_destination->setCurrentIndex(m_grid->index(row, m_grid->column(QStringLiteral("client"))));
}

bool PlaceSearchDialog::locate(const QString &destination)
{
    const auto row = locateRow(*m_model, QStringLiteral("destination"), destination, *m_context.dialogs);
    if (!row) return false;
    setCurrentRow(*row);
    return true;
}

PlaceValues PlaceSearchDialog::currentPlace() const
{
    PlaceValues place;
    const int row = currentRow();
    if (row < 0) return place;
    const QSqlRecord record = m_model->record(row);
    for (int i = 0; i < record.count(); ++i) place.insert(record.fieldName(i), record.value(i));
    return place;
}

void PlaceSearchDialog::selectPlace()
{
    if (rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    accept();
}

std::optional<PlaceValues> choosePlace(AppContext &context, QWidget *parent, PlaceSelection selection,
                                       const QString &current, bool lockSelection)
{
    PlaceSearchDialog picker(context, parent);
    picker.setSelection(selection);
    if (lockSelection) picker.lockSelection();
    picker.search();
    if (!current.isEmpty()) picker.locate(current);
    if (runModal(picker) != QDialog::Accepted || picker.rowCount() == 0) return std::nullopt;
    return picker.currentPlace();
}

} // namespace ravelin

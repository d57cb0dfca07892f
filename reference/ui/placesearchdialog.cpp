#include "placesearchdialog.h"
#include "ui_placesearchdialog.h"

#include "appcontext.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "modal.h"

namespace ravelin {

PlaceSearchDialog::PlaceSearchDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::chercher_destination>()), m_context(context)
{
    m_ui->setupUi(this);
    // The cells that name a chip zone are tinted, so that a zone stands out among customer places.
    const ListColour zone = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("stockage")).toString() == QLatin1String("OUI")
                   ? rgb(QStringLiteral("E1E1FF"))
                   : QColor();
    };
    ListDeclaration places;
    places.screen = QStringLiteral("chercher_destination");
    places.columns = {
        {QStringLiteral("client"), QStringLiteral("client"), QString(), 250},
        {QStringLiteral("destination"), QStringLiteral("destination"), QString(), 250, {}, zone},
        {QStringLiteral("stockage"), QStringLiteral("Zone Stock"), QString(), 65, Qt::AlignCenter, zone},
        {QStringLiteral("cp"), QStringLiteral("CP"), QString(), 85, Qt::AlignCenter},
        {QStringLiteral("ville"), QStringLiteral("Ville"), QString(), 150},
    };
    places.key = QStringLiteral("destination");
    // every place of twenty years comes a page at a time as the grid scrolls; the count follows
    places.counter = m_ui->nb;
    m_list = new ListGrid(context, m_ui->Grille_destination, places);
    for (QLineEdit *filter : {m_ui->client, m_ui->lieu, m_ui->ville})
        connect(filter, &QLineEdit::returnPressed, this, &PlaceSearchDialog::search);
    connect(m_ui->rech, &QPushButton::clicked, this, &PlaceSearchDialog::search);
    for (QRadioButton *choice : {m_ui->Choix_client, m_ui->Choix_stock, m_ui->Choix_tout})
        connect(choice, &QRadioButton::clicked, this, &PlaceSearchDialog::search);
    connect(m_ui->BtnSelectionner, &QPushButton::clicked, this, &PlaceSearchDialog::selectPlace);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &PlaceSearchDialog::reject);
    connect(m_ui->Grille_destination, &QAbstractItemView::doubleClicked, this, &PlaceSearchDialog::selectPlace);
}

PlaceSearchDialog::~PlaceSearchDialog() = default;

GridModel *PlaceSearchDialog::grid() const
{
    return m_list->model();
}

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
    const PagedQuery list =
        placeListQuery(selection(), PlaceFilter{m_ui->client->text(), m_ui->lieu->text(), m_ui->ville->text()});
    // the current place stays current when the new list holds it
    if (Status s = m_list->setQuery(list); !s) m_context.dialogs->error(s.error());
}

int PlaceSearchDialog::rowCount() const
{
    return m_list->rowCount();
}

int PlaceSearchDialog::currentRow() const
{
    if (rowCount() == 0) return -1;
    return qMax(0, m_list->currentRow());
}

void PlaceSearchDialog::setCurrentRow(int row)
{
    m_list->selectRow(row);
}

bool PlaceSearchDialog::locate(const QString &destination)
{
    return m_list->selectKey(destination);
}

PlaceValues PlaceSearchDialog::currentPlace() const
{
    PlaceValues place;
    const int row = currentRow();
    const PagedQueryModel *rows = m_list->pagedModel();
    if (row < 0 || !rows) return place;
    const QSqlRecord record = rows->record(row);
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

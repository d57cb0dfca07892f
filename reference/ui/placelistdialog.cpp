#include "placelistdialog.h"
#include "ui_placelistdialog.h"

#include "appcontext.h"
#include "carddelegate.h"
#include "modal.h"
#include "pagedlist.h"
#include "pagedquerymodel.h"
#include "placeeditordialog.h"

#include <QSqlRecord>

namespace ravelin {

namespace {

QString valueOf(const QAbstractItemModel *model, int row, const QString &column)
{
    const auto *list = qobject_cast<const PagedQueryModel *>(model);
    if (!list) return QString();
    return list->record(row).value(column).toString();
}

// One card per place: the customer and the place in bold, then where it is and whom to call.
QStringList linesOf(const QAbstractItemModel *model, int row)
{
    const auto v = [&](const char *column) { return valueOf(model, row, QString::fromLatin1(column)); };
    const auto joined = [](QStringList parts) {
        parts.removeAll(QString());
        return parts.join(QStringLiteral("  "));
    };
    return {v("client") + QStringLiteral("  —  ") + v("destination"), joined({v("cp"), v("ville"), v("pays")}),
            joined({v("nom1"), v("portable1")})};
}

} // namespace

PlaceListDialog::PlaceListDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Liste_destination>()), m_context(context),
      m_model(new PagedQueryModel(this))
{
    m_ui->setupUi(this);
    m_ui->Liste_cartes->setModel(m_model);
    m_ui->Liste_cartes->setItemDelegate(new CardDelegate(linesOf, 3, m_ui->Liste_cartes));
    m_ui->BtnSelectionner->hide();
    for (QLineEdit *filter : {m_ui->client, m_ui->lieu, m_ui->ville})
        connect(filter, &QLineEdit::returnPressed, this, &PlaceListDialog::search);
    connect(m_ui->rech, &QPushButton::clicked, this, &PlaceListDialog::search);
    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &PlaceListDialog::createPlace);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &PlaceListDialog::modifyPlace);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &PlaceListDialog::removePlace);
    connect(m_ui->BtnSelectionner, &QPushButton::clicked, this, &PlaceListDialog::selectPlace);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &PlaceListDialog::reject);
    connect(m_ui->Liste_cartes, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_picker) selectPlace();
    });
    // the cards come a page at a time as the list scrolls; the count follows the first page
    followCount(*m_model, *m_ui->nb, QStringLiteral("( nb : %1 )"));
    connect(m_model, &PagedQueryModel::failed, this, [this](const Error &e) { m_context.dialogs->error(e); });
    search();
}

PlaceListDialog::~PlaceListDialog() = default;

void PlaceListDialog::setPicker(bool picker)
{
    m_picker = picker;
    m_ui->BtnSelectionner->setVisible(picker);
}

void PlaceListDialog::setKind(PlaceSelection kind)
{
    m_kind = kind == PlaceSelection::ChipZones ? PlaceSelection::ChipZones : PlaceSelection::Customers;
    search();
}

void PlaceListDialog::search()
{
    const QString kept = rowCount() > 0 ? currentPlace().value(QStringLiteral("destination")).toString() : QString();
    const PagedQuery list =
        placeListQuery(m_kind, PlaceFilter{m_ui->client->text(), m_ui->lieu->text(), m_ui->ville->text()});
    // more cards than the first page are counted on a connection of their own meanwhile
    if (Status s = showPagedList(*m_model, m_context.db, list, this); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    if (kept.isEmpty() || !locate(kept)) setCurrentRow(0);
}

int PlaceListDialog::rowCount() const
{
    return m_model->rowCount();
}

int PlaceListDialog::currentRow() const
{
    if (rowCount() == 0) return -1;
    const QModelIndex i = m_ui->Liste_cartes->currentIndex();
    return i.isValid() ? i.row() : 0;
}

void PlaceListDialog::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) return;
    m_ui->Liste_cartes->setCurrentIndex(m_model->index(row, m_ui->Liste_cartes->modelColumn()));
}

bool PlaceListDialog::locate(const QString &destination)
{
    const auto row = locateRow(*m_model, QStringLiteral("destination"), destination, *m_context.dialogs);
    if (!row) return false;
    setCurrentRow(*row);
    return true;
}

PlaceValues PlaceListDialog::currentPlace() const
{
    return rowValues(*m_model, currentRow());
}

QStringList PlaceListDialog::cardLines(int row) const
{
    return linesOf(m_model, row);
}

bool PlaceListDialog::runEditor(int inc)
{
    PlaceEditorDialog editor(m_context, inc, this);
    if (!editor.loaded()) return false;
    const bool written = runModal(editor) == QDialog::Accepted;
    search();
    if (written) {
        // The written place becomes the current card when the filters still show it.
        locate(editor.writtenName());
    }
    return written;
}

void PlaceListDialog::createPlace()
{
    if (!m_context.require(QStringLiteral("Liste destination"))) return;
    runEditor(0);
}

void PlaceListDialog::modifyPlace()
{
    if (!m_context.require(QStringLiteral("Liste destination"))) return;
    if (rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    runEditor(currentPlace().value(QStringLiteral("inc")).toInt());
}

void PlaceListDialog::removePlace()
{
    if (!m_context.require(QStringLiteral("Liste destination"))) return;
    if (rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const PlaceValues place = currentPlace();
    const QString name = place.value(QStringLiteral("destination")).toString();
    // A place that other records name cannot go: say so before asking for the confirmation.
    auto references = placeReferences(m_context.db, name);
    if (!references) {
        m_context.dialogs->error(references.error());
        return;
    }
    if (!references->isEmpty()) {
        m_context.dialogs->message(placeInUseMessage(name, *references, false));
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer la destination ?"))) return;
    if (Status s = deletePlace(m_context.db, place.value(QStringLiteral("inc")).toInt()); !s)
        m_context.dialogs->error(s.error());
    search();
}

void PlaceListDialog::selectPlace()
{
    if (rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    accept();
}

void openCustomerList(AppContext &context, QWidget *parent)
{
    PlaceListDialog list(context, parent);
    runModal(list);
}

std::optional<PlaceValues> pickCustomerPlace(AppContext &context, QWidget *parent, const QString &client,
                                             bool transferOrder)
{
    PlaceListDialog list(context, parent);
    list.setPicker(true);
    if (!client.isEmpty()) {
        list.ui()->client->setText(client);
        list.search();
    }
    if (transferOrder) list.setKind(PlaceSelection::ChipZones);
    if (runModal(list) != QDialog::Accepted || list.rowCount() == 0) return std::nullopt;
    return list.currentPlace();
}

} // namespace ravelin

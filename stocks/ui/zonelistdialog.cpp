#include "zonelistdialog.h"
#include "ui_zonelistdialog.h"

#include "appcontext.h"
#include "carddelegate.h"
#include "formats.h"
#include "modal.h"
#include "pagedlist.h"
#include "pagedquerymodel.h"
#include "zoneeditordialog.h"

#include <QSqlRecord>

namespace ravelin {

namespace {

// One card per zone: owner and name in bold, then where it is, its unit and its last inventory.
QStringList linesOf(const QAbstractItemModel *model, int row)
{
    const auto *list = qobject_cast<const PagedQueryModel *>(model);
    if (!list) return {};
    const QSqlRecord r = list->record(row);
    const auto v = [&](const char *column) { return r.value(QLatin1String(column)).toString(); };
    const QDate inventory = r.value(QStringLiteral("date_inventaire")).toDate();
    return {v("client") + QStringLiteral("  —  ") + v("destination"), v("cp") + QStringLiteral("  ") + v("ville"),
            QStringLiteral("Unité : ") + v("unite") + QStringLiteral("    Zone de stockage interne : ") + v("stockage"),
            QStringLiteral("Date dernier inventaire : ") + (inventory.isValid() ? formatDate(inventory) : QString())};
}

} // namespace

ZoneListDialog::ZoneListDialog(AppContext &context, ZoneKind kind, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Liste_stockage_buche>()), m_context(context), m_kind(kind),
      m_model(new PagedQueryModel(this))
{
    m_ui->setupUi(this);
    if (kind == ZoneKind::Chips) setObjectName(QStringLiteral("Liste_stockage"));
    setWindowTitle(kind == ZoneKind::Chips ? QStringLiteral("Liste zones de stockage Plaquettes")
                                           : QStringLiteral("Liste zones de stockage Bûches"));
    m_ui->Liste_cartes->setModel(m_model);
    m_ui->Liste_cartes->setItemDelegate(new CardDelegate(linesOf, 4, m_ui->Liste_cartes));
    connect(m_ui->Destination, &QLineEdit::returnPressed, this, &ZoneListDialog::search);
    connect(m_ui->rech, &QPushButton::clicked, this, &ZoneListDialog::search);
    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &ZoneListDialog::createZone);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &ZoneListDialog::modifyZone);
    connect(m_ui->Liste_cartes, &QAbstractItemView::doubleClicked, this, &ZoneListDialog::modifyZone);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &ZoneListDialog::removeZone);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &ZoneListDialog::reject);
    followCount(*m_model, *m_ui->nb, QStringLiteral("( nb : %1 )"));
    connect(m_model, &PagedQueryModel::failed, this, [this](const Error &e) { m_context.dialogs->error(e); });
    search();
}

ZoneListDialog::~ZoneListDialog() = default;

void ZoneListDialog::search()
{
    const QString kept = rowCount() > 0 ? currentZone().value(QStringLiteral("destination")).toString() : QString();
    if (Status s = showPagedList(*m_model, m_context.db, zoneListQuery(m_kind, m_ui->Destination->text()), this); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    if (kept.isEmpty() || !locate(kept)) setCurrentRow(0);
}

int ZoneListDialog::rowCount() const
{
    return m_model->rowCount();
}

int ZoneListDialog::currentRow() const
{
    if (rowCount() == 0) return -1;
    const QModelIndex i = m_ui->Liste_cartes->currentIndex();
    return i.isValid() ? i.row() : 0;
}

void ZoneListDialog::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount()) return;
    m_ui->Liste_cartes->setCurrentIndex(m_model->index(row, m_ui->Liste_cartes->modelColumn()));
}

bool ZoneListDialog::locate(const QString &destination)
{
    const auto row = locateRow(*m_model, QStringLiteral("destination"), destination, *m_context.dialogs);
    if (!row) return false;
    setCurrentRow(*row);
    return true;
}

PlaceValues ZoneListDialog::currentZone() const
{
    return rowValues(*m_model, currentRow());
}

QStringList ZoneListDialog::cardLines(int row) const
{
    return linesOf(m_model, row);
}

void ZoneListDialog::runEditor(int inc)
{
    ZoneEditorDialog editor(m_context, m_kind, inc, this);
    if (!editor.loaded()) return;
    const bool written = runModal(editor) == QDialog::Accepted;
    search();
    if (written) locate(editor.writtenName());
}

void ZoneListDialog::createZone()
{
    if (!m_context.require(QStringLiteral("Liste stockage"))) return;
    runEditor(0);
}

void ZoneListDialog::modifyZone()
{
    if (!m_context.require(QStringLiteral("Liste stockage"))) return;
    if (rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    runEditor(currentZone().value(QStringLiteral("inc")).toInt());
}

void ZoneListDialog::removeZone()
{
    if (!m_context.require(QStringLiteral("Liste stockage"))) return;
    if (rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const PlaceValues zone = currentZone();
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer la zone de stockage ?"))) return;
    if (Status s = deleteZone(m_context.db, zone.value(QStringLiteral("inc")).toInt()); !s)
        m_context.dialogs->error(s.error());
    search();
}

void openZoneList(AppContext &context, ZoneKind kind, QWidget *parent)
{
    ZoneListDialog list(context, kind, parent);
    runModal(list);
}

} // namespace ravelin

#include "referencelistdialog.h"
#include "ui_referencelistdialog.h"

#include "appcontext.h"
#include "gridmodel.h"
#include "modal.h"
#include "referencedetaildialog.h"

#include <QAbstractTableModel>
#include <QHeaderView>

#include <cmath>

namespace ravelin {

// The rows of a reference list, one column per grid column, named as the table names them so
// that GridModel finds its captions and formats. Fixed rows are written in red.
class ReferenceRowsModel : public QAbstractTableModel
{
public:
    ReferenceRowsModel(const ReferenceTableDef &def, const QList<ReferenceRow> &rows, QObject *parent)
        : QAbstractTableModel(parent), m_def(def), m_rows(rows)
    {
    }

    void reset(const std::function<void()> &change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_def.gridColumns.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size()) return QVariant();
        const ReferenceRow &row = m_rows[index.row()];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return row.value(m_def.gridColumns.value(index.column()));
        case Qt::ForegroundRole:
            if (isFixedRow(m_def, row)) return QColor(0xFF, 0x00, 0x00);
            return QVariant();
        default: return QVariant();
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return m_def.gridColumns.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    const ReferenceTableDef &m_def;
    const QList<ReferenceRow> &m_rows;
};

namespace {

bool sameValue(ColumnKind kind, const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull) return aNull == bNull;
    if (kind == ColumnKind::Real) {
        const double x = a.toDouble(), y = b.toDouble();
        return std::fabs(x - y) <= 1e-9 * std::max(1.0, std::fabs(x));
    }
    if (kind == ColumnKind::Integer) return a.toLongLong() == b.toLongLong();
    return a.toString() == b.toString();
}

// The same row: by its key where the table has one, otherwise by every value.
bool sameRow(const ReferenceTableDef &def, const ReferenceRow &a, const ReferenceRow &b)
{
    if (def.hasKey()) return sameValue(ColumnKind::Integer, a.value(def.key), b.value(def.key));
    for (const ReferenceColumn &c : def.columns)
        if (!sameValue(c.kind, storedValue(c, a.value(c.name)), storedValue(c, b.value(c.name)))) return false;
    return true;
}

} // namespace

ReferenceListDialog::ReferenceListDialog(AppContext &context, ReferenceTable table, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ReferenceList>()), m_context(context), m_def(referenceTable(table))
{
    m_ui->setupUi(this);
    setObjectName(m_def.listScreen);
    setWindowTitle(m_def.heading.isEmpty() ? m_def.menuCaption : m_def.heading);
    m_ui->titre->setText(m_def.heading);
    m_ui->titre->setVisible(!m_def.heading.isEmpty());

    m_source = new ReferenceRowsModel(m_def, m_rows, this);
    m_grid = new GridModel(this);
    m_grid->setSourceModel(m_source);
    for (auto it = m_def.captions.cbegin(); it != m_def.captions.cend(); ++it) m_grid->setCaption(it.key(), it.value());
    m_ui->Grille->setModel(m_grid);
    m_ui->Grille->verticalHeader()->hide();
    m_ui->Grille->horizontalHeader()->setStretchLastSection(true);

    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &ReferenceListDialog::createRow);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &ReferenceListDialog::modifyRow);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &ReferenceListDialog::deleteRow);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &ReferenceListDialog::accept);
    if (m_def.doubleClickModifies)
        connect(m_ui->Grille, &QAbstractItemView::doubleClicked, this, &ReferenceListDialog::modifyRow);
}

ReferenceListDialog::~ReferenceListDialog() = default;

QAbstractItemModel *ReferenceListDialog::gridModel() const
{
    return m_grid;
}

bool ReferenceListDialog::reload(const ReferenceRow *select)
{
    const int keep = currentRow();
    auto rows = readReferenceRows(m_context.db, m_def.id);
    if (!rows) {
        m_context.dialogs->error(rows.error());
        return false;
    }
    m_source->reset([&] { m_rows = std::move(*rows); });
    if (m_rows.isEmpty()) return true;
    int row = -1;
    if (select) {
        for (int i = 0; i < m_rows.size() && row < 0; ++i)
            if (sameRow(m_def, m_rows[i], *select)) row = i;
    }
    selectRow(row >= 0 ? row : std::clamp(keep, 0, int(m_rows.size()) - 1));
    return true;
}

int ReferenceListDialog::currentRow() const
{
    if (m_rows.isEmpty()) return -1;
    const QModelIndex i = m_ui->Grille->currentIndex();
    return i.isValid() && i.row() < m_rows.size() ? i.row() : 0;
}

void ReferenceListDialog::selectRow(int row)
{
    if (row < 0 || row >= m_rows.size()) return;
    m_ui->Grille->setCurrentIndex(m_grid->index(row, 0));
    m_ui->Grille->selectRow(row);
}

void ReferenceListDialog::createRow()
{
    ReferenceRow written;
    const ReferenceTable table = m_def.id;
    QSqlDatabase db = m_context.db;
    ReferenceDetailDialog detail(
        m_context, table, m_def.createDefaults,
        [&](const ReferenceRow &typed) -> Status {
            auto inserted = insertReferenceRow(db, table, typed);
            if (!inserted) return inserted.error();
            written = *inserted;
            return {};
        },
        this);
    if (runModal(detail) == QDialog::Accepted) reload(&written);
}

void ReferenceListDialog::modifyRow()
{
    const int row = currentRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const ReferenceRow asRead = m_rows[row];
    if (const QString refused = fixedRowRefusal(m_def, asRead, RowAction::Modify); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        return;
    }
    ReferenceRow written;
    const ReferenceTable table = m_def.id;
    QSqlDatabase db = m_context.db;
    ReferenceDetailDialog detail(
        m_context, table, asRead,
        [&](const ReferenceRow &typed) -> Status {
            Status s = updateReferenceRow(db, table, asRead, typed);
            if (s) written = typed;
            return s;
        },
        this);
    const int result = runModal(detail);
    if (result == QDialog::Accepted) reload(&written);
    else if (detail.changedElsewhere()) reload();
}

void ReferenceListDialog::deleteRow()
{
    const int row = currentRow();
    if (row < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    const ReferenceRow asRead = m_rows[row];
    if (const QString refused = fixedRowRefusal(m_def, asRead, RowAction::Delete); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, m_def.deleteQuestion)) return;
    const Status deleted = deleteReferenceRow(m_context.db, m_def.id, asRead);
    if (!deleted) {
        m_context.dialogs->error(deleted.error());
        if (isChangedElsewhere(deleted.error())) reload();
        return;
    }
    reload();
}

void openReferenceList(AppContext &context, ReferenceTable table, QWidget *parent)
{
    ReferenceListDialog list(context, table, parent);
    if (!list.reload()) return;
    runModal(list);
}

} // namespace ravelin

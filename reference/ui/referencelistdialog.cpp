#include "referencelistdialog.h"
#include "ui_referencelistdialog.h"

#include "appcontext.h"
#include "gridmodel.h"
#include "listgrid.h"
#include "modal.h"
#include "referencedetaildialog.h"

#include <QHeaderView>

#include <cmath>

namespace ravelin {

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

    ListDeclaration list;
    list.screen = m_def.listScreen;
    for (const QString &column : m_def.gridColumns) list.columns.append({column, m_def.captions.value(column)});
    list.key = m_def.key;
    // The rows other parts of the program rely on are written in red.
    list.textColour = [this](const ListGrid &, int row) {
        return row < m_rows.size() && isFixedRow(m_def, m_rows[row]) ? QColor(0xFF, 0x00, 0x00) : QColor();
    };
    m_list = new ListGrid(context, m_ui->Grille, list);
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
    return m_list->model();
}

bool ReferenceListDialog::reload(const ReferenceRow *select)
{
    const int keep = currentRow();
    auto rows = readReferenceRows(m_context.db, m_def.id);
    if (!rows) {
        m_context.dialogs->error(rows.error());
        return false;
    }
    m_rows = std::move(*rows);
    // a small table read whole: the grid shows its columns as read
    DataTable shown(m_def.gridColumns);
    shown.reserve(int(m_rows.size()));
    for (const ReferenceRow &row : std::as_const(m_rows)) {
        QVariantList values;
        for (const QString &column : m_def.gridColumns) values << row.value(column);
        shown.addRow(std::move(values));
    }
    m_list->setTable(shown);
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
    const int row = m_list->currentRow();
    return row >= 0 && row < m_rows.size() ? row : 0;
}

void ReferenceListDialog::selectRow(int row)
{
    if (row < 0 || row >= m_rows.size()) return;
    m_list->selectRow(row);
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
        if (deleted.error().is(ErrorKind::ChangedElsewhere)) reload();
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

#include "logpickerdialog.h"
#include "ui_logpickerdialog.h"

#include "appcontext.h"
#include "dialogs.h"
#include "gridmodel.h"
#include "listgrid.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace ravelin {

LogPickerDialog::LogPickerDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_grume_cde>()), m_context(context)
{
    m_ui->setupUi(this);
    setWindowState(windowState() | Qt::WindowMaximized);
    const QString measure = QStringLiteral("0.##");
    ListDeclaration logs;
    logs.screen = QStringLiteral("liste_grume_cde");
    logs.columns = {
        {QStringLiteral("N_grume"), QString(), QString(), 80},
        {QStringLiteral("m3"), QString(), QStringLiteral("0.000"), 70},
        {QStringLiteral("essence"), QString(), QString(), 100},
        {QStringLiteral("qualite"), QString(), QString(), 80},
        {QStringLiteral("classe"), QString(), QString(), 50},
        {QStringLiteral("diametre"), QString(), measure, 60},
        {QStringLiteral("longueur"), QString(), measure, 60},
        {QStringLiteral("lieu"), QString(), QString(), 120},
        {QStringLiteral("date_creation"), QString(), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("date_lieu"), QString(), QStringLiteral("dd/mm/yyyy"), 80},
        {QStringLiteral("N_lot"), QStringLiteral("N°coupe"), QString(), 70},
        {QStringLiteral("indice_lot"), QString(), QString(), 50},
        {QStringLiteral("stock"),
         QString(),
         QString(),
         80,
         {},
         [](const ListGrid &grid, int row) {
             return grid.raw(row, QStringLiteral("stock")).toString().isEmpty() ? QColor()
                                                                                : rgb(QStringLiteral("FFA4A4"));
         }},
        {QStringLiteral("livree"), QString(), QString(), 50},
    };
    logs.key = QStringLiteral("inc");
    logs.counter = m_ui->Label_nb;
    m_list = new ListGrid(context, m_ui->Grille_grumes, logs);
    m_ui->Grille_grumes->setSelectionMode(QAbstractItemView::ExtendedSelection);

    connect(m_ui->rechercher, &QPushButton::clicked, this, &LogPickerDialog::search);
    connect(m_ui->BtnChercher, &QPushButton::clicked, this, &LogPickerDialog::findLog);
    connect(m_ui->BtnSelectionner, &QPushButton::clicked, this, &LogPickerDialog::choose);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);
    search();
}

LogPickerDialog::~LogPickerDialog() = default;

FreeLogSearch LogPickerDialog::filters() const
{
    return FreeLogSearch{m_ui->n_lot->text(), m_ui->essence->text(), m_ui->qualite->text(), m_ui->lieu->text(),
                         m_ui->classe->text()};
}

void LogPickerDialog::search()
{
    auto statement = freeLogsQuery(filters());
    if (!statement) {
        m_context.dialogs->error(statement.error());
        return;
    }
    if (Status s = m_list->setQuery(m_context.db, *statement); !s) m_context.dialogs->error(s.error());
}

void LogPickerDialog::findLog()
{
    const QString wanted = m_ui->chercher_n_grume->text().trimmed();
    if (wanted.isEmpty() || !m_list->pagedModel()) return;
    auto found = m_list->pagedModel()->locate(QStringLiteral("N_grume"), wanted);
    if (!found) {
        m_context.dialogs->error(found.error());
        return;
    }
    if (*found) m_list->selectRow(**found);
}

QList<int> LogPickerDialog::selectedLogs() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_ui->Grille_grumes->selectionModel()->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    QList<int> logs;
    for (int row : rows) logs << m_list->raw(row, QStringLiteral("inc")).toInt();
    return logs;
}

void LogPickerDialog::choose()
{
    accept();
}

} // namespace ravelin

#include "transferlistdialog.h"
#include "ui_transferlistdialog.h"

#include "appcontext.h"
#include "listgrid.h"
#include "lotrecompute.h"
#include "modal.h"
#include "newtransferdialog.h"
#include "transfereditor.h"

#include <QTimer>

namespace ravelin {

TransferListDialog::TransferListDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_transfert>()), m_context(context),
      m_detailReload(new QTimer(this))
{
    m_ui->setupUi(this);
    ListDeclaration transfers;
    transfers.screen = QStringLiteral("liste_transfert");
    transfers.columns = {{QStringLiteral("inc"), QStringLiteral("N° Transf."), QString(), 70},
                         {QStringLiteral("type_transfert"), QStringLiteral("Origine"), QString(), 80},
                         {QStringLiteral("depart"), QStringLiteral("depart"), QString(), 170},
                         {QStringLiteral("destination"), QStringLiteral("Destination"), QString(), 170},
                         {QStringLiteral("date_transfert"), QStringLiteral("date Transfert"), QString(), 130}};
    transfers.key = QStringLiteral("inc");
    transfers.counter = m_ui->Label_nb;
    transfers.textColour = [](const ListGrid &grid, int row) {
        return grid.raw(row, QStringLiteral("type_transfert")).toString() == transferFromElsewhere()
                   ? QColor(0xFF, 0x00, 0x00)
                   : QColor();
    };
    transfers.wheelSteps = true;
    m_list = new ListGrid(context, m_ui->Grille_transfert, transfers);

    ListDeclaration lines;
    lines.screen = QStringLiteral("liste_transfert_produits");
    lines.columns = {{QStringLiteral("essence"), QStringLiteral("Essence"), QString(), 100},
                     {QStringLiteral("qualite"), QStringLiteral("Qualité"), QString(), 90},
                     {QStringLiteral("qte_liv"), QStringLiteral("Qte"), QStringLiteral("#,##0.00"), 70},
                     {QStringLiteral("unite_liv"), QStringLiteral("unite_liv"), QString(), 50},
                     {QStringLiteral("qualite_destination"), QStringLiteral("qualite_desti"), QString(), 90}};
    lines.key = QStringLiteral("inc");
    m_lines = new ListGrid(context, m_ui->Grille_produits, lines);

    // the lines follow the selection once it settles, not at every row the keyboard passes
    m_detailReload->setObjectName(QStringLiteral("DetailReload"));
    m_detailReload->setSingleShot(true);
    m_detailReload->setInterval(200);
    connect(m_detailReload, &QTimer::timeout, this, &TransferListDialog::reloadLines);
    connect(m_list, &ListGrid::currentRowChanged, m_detailReload, qOverload<>(&QTimer::start));

    const QDate today = QDate::currentDate();
    m_ui->date_debut->setDate(today.addDays(-60));
    m_ui->date_fin->setDate(today);
    for (QDateEdit *date : {m_ui->date_debut, m_ui->date_fin})
        connect(date, &QDateEdit::userDateChanged, this, &TransferListDialog::search);
    for (QLineEdit *filter : {m_ui->Depart, m_ui->Destination})
        connect(filter, &QLineEdit::returnPressed, this, &TransferListDialog::search);
    for (QRadioButton *sort : {m_ui->tri_date, m_ui->tri_depart, m_ui->tri_destination})
        connect(sort, &QRadioButton::toggled, this, [this](bool on) {
            if (on) search();
        });
    connect(m_ui->rech, &QPushButton::clicked, this, &TransferListDialog::search);
    connect(m_ui->BtnCreer, &QPushButton::clicked, this, &TransferListDialog::createTransfer);
    connect(m_ui->BtnModifier, &QPushButton::clicked, this, &TransferListDialog::openTransfer);
    connect(m_ui->Grille_transfert, &QAbstractItemView::doubleClicked, this, &TransferListDialog::openTransfer);
    connect(m_ui->BtnSupprimer, &QPushButton::clicked, this, &TransferListDialog::deleteTransfer);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &TransferListDialog::reject);
    search();
}

TransferListDialog::~TransferListDialog() = default;

void TransferListDialog::search()
{
    TransferSearch wanted;
    wanted.depart = m_ui->Depart->text();
    wanted.destination = m_ui->Destination->text();
    wanted.start = m_ui->date_debut->date();
    wanted.end = m_ui->date_fin->date();
    if (m_ui->tri_depart->isChecked()) wanted.sort = TransferSort::Departure;
    else if (m_ui->tri_destination->isChecked()) wanted.sort = TransferSort::Destination;
    if (Status s = m_list->setQuery(m_context.db, transferListQuery(wanted)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    m_loaded = true;
    m_detailReload->start();
}

void TransferListDialog::reloadLines()
{
    m_detailReload->stop();
    const QVariant inc = m_list->currentKey();
    // no transfer selected: the panel lists nothing
    if (Status s = m_lines->setQuery(m_context.db, transferLinesQuery(inc.isNull() ? 0 : inc.toInt())); !s)
        m_context.dialogs->error(s.error());
}

void TransferListDialog::openEditor(int inc, bool created)
{
    TransferEditor editor(m_context, inc, this);
    if (!editor.loaded()) {
        if (Status s = m_list->reload(); !s) m_context.dialogs->error(s.error());
        return;
    }
    const bool saved = runModal(editor) == QDialog::Accepted;
    if (saved && created && editor.typeTransfert() == transferFromLot()) {
        if (Status s = recomputeLot(m_context.db, QVariant(editor.depart())); !s) m_context.dialogs->error(s.error());
    }
    if (Status s = m_list->reload(); !s) m_context.dialogs->error(s.error());
    m_list->selectKey(inc);
    reloadLines();
}

void TransferListDialog::createTransfer()
{
    NewTransferDialog opening(m_context, this);
    if (runModal(opening) != QDialog::Accepted) return;
    auto inc = ravelin::createTransfer(m_context.db, opening.transfer());
    if (!inc) {
        m_context.dialogs->error(inc.error());
        return;
    }
    if (Status s = m_list->reload(); !s) m_context.dialogs->error(s.error());
    m_list->selectKey(*inc);
    openEditor(*inc, true);
}

void TransferListDialog::openTransfer()
{
    if (m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    openEditor(m_list->currentKey().toInt(), false);
}

void TransferListDialog::deleteTransfer()
{
    if (!m_context.require(QStringLiteral("Supprimer enregistrement"))) return;
    if (m_list->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    if (!confirmDeletion(*m_context.dialogs, QStringLiteral("Voulez vous supprimer ce transfert ?"))) return;
    auto deleted = ravelin::deleteTransfer(m_context.db, m_list->currentKey().toInt());
    if (!deleted) m_context.dialogs->error(deleted.error());
    else if (!deleted->warnings.isEmpty()) m_context.dialogs->message(deleted->warnings.join(QLatin1Char('\n')));
    if (Status s = m_list->reload(); !s) m_context.dialogs->error(s.error());
    reloadLines();
}

bool openTransferList(AppContext &context, QWidget *parent)
{
    TransferListDialog list(context, parent);
    if (!list.loaded()) return false;
    runModal(list);
    return true;
}

} // namespace ravelin

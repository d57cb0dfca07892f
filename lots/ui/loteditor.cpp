#include "loteditor.h"
#include "costpricetab.h"
#include "lotworktab.h"
#include "ownerstab.h"
#include "ui_loteditor.h"

#include "appcontext.h"
#include "formats.h"
#include "gauges.h"
#include "lotdeliveries.h"
#include "lotlogsdialog.h"
#include "lotstore.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "modal.h"
#include "owners.h"
#include "reportpreview.h"

#include <QFocusEvent>
#include <QHash>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <cmath>

namespace ravelin {

namespace {

// The lot columns the editor's fields and computations may change.
const QStringList &editedColumns()
{
    static const QStringList columns{
        QStringLiteral("type_achat"),  QStringLiteral("lieu"),     QStringLiteral("adresse"),
        QStringLiteral("cp"),          QStringLiteral("latitude"), QStringLiteral("commentaire"),
        QStringLiteral("date_alerte"), QStringLiteral("date_fin"), QStringLiteral("coupe_fini"),
        QStringLiteral("estimation"),  QStringLiteral("fin_pied"), QStringLiteral("fin_abattage")};
    return columns;
}

bool isEmptyValue(const QVariant &v)
{
    return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (isEmptyValue(a) || isEmptyValue(b)) return isEmptyValue(a) == isEmptyValue(b);
    if (a.typeId() == QMetaType::QDate || b.typeId() == QMetaType::QDate || a.typeId() == QMetaType::QDateTime ||
        b.typeId() == QMetaType::QDateTime)
        return a.toDate() == b.toDate();
    if (holdsNumber(a) || holdsNumber(b)) return std::abs(a.toDouble() - b.toDouble()) < 1e-9;
    QString left = a.toString(), right = b.toString();
    left.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    right.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return left == right;
}

double number(const QSqlRecord &record, const char *column)
{
    return finiteOrZero(record.value(QLatin1String(column)).toDouble());
}

void chooseText(QComboBox *box, const QString &text)
{
    if (text.isEmpty()) {
        box->setCurrentIndex(-1);
        return;
    }
    if (box->findText(text) < 0) box->insertItem(0, text);
    box->setCurrentIndex(box->findText(text));
}

QStandardItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setEditable(false);
    return item;
}

} // namespace

LotEditor::LotEditor(AppContext &context, const QSqlRecord &lot, bool newLot, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Creation_dossier2>()), m_context(context), m_original(lot), m_lot(lot),
      m_newLot(newLot), m_linesSource(new QSqlQueryModel(this)), m_lines(new GridModel(this)),
      m_deliveries(new QStandardItemModel(this))
{
    m_ui->setupUi(this);
    m_inc = lot.value(QStringLiteral("inc")).toInt();
    m_nLot = lot.value(QStringLiteral("n_lot")).toInt();
    m_indiceLot =
        lot.value(QStringLiteral("indice_lot")).isNull() ? 1 : lot.value(QStringLiteral("indice_lot")).toInt();

    loadFields();
    setupGrids();
    installLotTabs();

    const QDate today = QDate::currentDate();
    m_ui->Periode_du->setDate(today.addDays(-30));
    m_ui->Periode_au->setDate(today);

    reloadLines();
    if (!m_newLot) reloadDeliveries();
    computeTotals();
    m_ui->Onglets->setCurrentWidget(m_ui->Onglet_etat);

    connect(m_ui->BtnOK, &QPushButton::clicked, this, &LotEditor::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &LotEditor::reject);
    connect(m_ui->BtnCalculEtat, &QPushButton::clicked, this, &LotEditor::recomputeWoodState);
    connect(m_ui->BtnImprimer, &QPushButton::clicked, this, &LotEditor::printLotDeliveries);
    connect(m_ui->BtnVoirGrumes, &QPushButton::clicked, this, &LotEditor::showLogs);
    connect(m_ui->type_achat, &QComboBox::activated, this, &LotEditor::purchaseTypeChosen);
    m_ui->coupe_fini->installEventFilter(this);
}

void LotEditor::installLotTabs()
{
    // Each of the three pages holds its tab and nothing else.
    auto fill = [](QWidget *page, QWidget *tab) {
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(tab);
    };
    m_ownersTab = new OwnersTab(m_context, m_nLot, m_indiceLot, m_ui->Onglet_proprietaires);
    m_workTab = new LotWorkTab(m_context, m_nLot, m_indiceLot, m_ui->Onglet_exploitation);
    m_costPriceTab = new CostPriceTab(m_context, m_nLot, m_ui->Onglet_prix_revient);
    m_ownersTab->setLotFields(m_lot);
    const bool finished = m_ui->coupe_fini->currentText() == QLatin1String("OUI");
    m_ownersTab->setLotFinished(finished);
    m_workTab->setLotFinished(finished);
    fill(m_ui->Onglet_proprietaires, m_ownersTab);
    fill(m_ui->Onglet_exploitation, m_workTab);
    fill(m_ui->Onglet_prix_revient, m_costPriceTab);

    // "Etat" and "Exploitation" show one selected volume line: each follows the other.
    connect(m_workTab, &LotWorkTab::lineSelected, this, &LotEditor::selectLineByInc);

    connect(m_ownersTab, &OwnersTab::volumeLinesChanged, this, [this] {
        reloadLines();
        m_workTab->reload();
    });
    // The derived lot columns are already written by the owner operations: only show them.
    connect(m_ownersTab, &OwnersTab::lotTotalsChanged, this, [this] {
        auto derived = readLotDerivedColumns(m_context.db, m_nLot);
        if (!derived) {
            m_context.dialogs->error(derived.error());
            return;
        }
        for (int i = 0; i < derived->count(); ++i) {
            m_lot.setValue(derived->fieldName(i), derived->value(i));
            m_original.setValue(derived->fieldName(i), derived->value(i));
        }
        computeTotals();
    });
    connect(m_workTab, &LotWorkTab::woodStateChanged, this, [this] {
        reloadLines();
        computeTotals();
    });
}

LotEditor::~LotEditor() = default;

GridModel *LotEditor::owners() const
{
    return m_ownersTab ? m_ownersTab->owners() : nullptr;
}

void LotEditor::loadFields()
{
    const QSqlRecord &lot = m_original;
    m_ui->n_lot->setText(lot.value(QStringLiteral("n_lot")).toString());

    m_ui->type_achat->addItems(editorPurchaseTypes());
    chooseText(m_ui->type_achat, lot.value(QStringLiteral("type_achat")).toString());
    m_ui->type_achat->setEnabled(m_newLot);

    m_ui->groupe_essence->addItems({QStringLiteral("OUI"), QStringLiteral("NON")});
    chooseText(m_ui->groupe_essence, lot.value(QStringLiteral("groupe_essence")).toString());

    m_ui->coupe_fini->addItems({QStringLiteral("NON"), QStringLiteral("OUI")});
    m_finishedApplied = lot.value(QStringLiteral("coupe_fini")).toString();
    chooseText(m_ui->coupe_fini, m_finishedApplied);
    m_ui->coupe_fini->setEnabled(m_context.rights.granted(QStringLiteral("Solder coupe")));

    for (QDateEdit *date : {m_ui->date_alerte, m_ui->date_fin}) makeDateNullable(date);
    setDateValue(m_ui->date_alerte, lot.value(QStringLiteral("date_alerte")));
    setDateValue(m_ui->date_fin, lot.value(QStringLiteral("date_fin")));
    // The place fields and the purchase amounts are on the owners tab.
    m_ui->commentaire->setPlainText(lot.value(QStringLiteral("commentaire")).toString());
}

void LotEditor::setupGrids()
{
    m_lines->setSourceModel(m_linesSource);
    for (const char *c : {"qte", "a0", "a1", "a3"}) m_lines->setFormat(QLatin1String(c), QStringLiteral("#,##0.00"));
    m_lines->setCaption(QStringLiteral("qte"), QStringLiteral("Total"));
    m_lines->setCaption(QStringLiteral("a0"), QStringLiteral("Livrés"));
    m_lines->setCaption(QStringLiteral("a1"), QStringLiteral("Dispo"));
    m_lines->setCaption(QStringLiteral("a3"), QStringLiteral("Dispo(defaut)"));
    m_lines->setCaption(QStringLiteral("unite_livre"), QStringLiteral("unite"));
    m_lines->setCaption(QStringLiteral("unite_dispo"), QStringLiteral("unite"));
    prepareGrid(m_ui->Grille_lots);
    m_ui->Grille_lots->setModel(m_lines);
    connect(m_ui->Grille_lots->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &LotEditor::lineSelected);

    prepareGrid(m_ui->Grille_livraisons);
    m_ui->Grille_livraisons->setModel(m_deliveries);
}

QSqlRecord LotEditor::record() const
{
    QSqlRecord lot = m_lot;
    lot.setValue(QStringLiteral("type_achat"), textOrNull(m_ui->type_achat->currentText()));
    // The place fields (lieu, adresse, cp, latitude) are typed on the owners tab.
    const QVariantMap place = m_ownersTab->placeFields();
    for (auto it = place.begin(); it != place.end(); ++it) lot.setValue(it.key(), textOrNull(it.value().toString()));
    // Comments keep the line ends the older workstations write.
    QString comments = m_ui->commentaire->toPlainText();
    comments.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    lot.setValue(QStringLiteral("commentaire"), textOrNull(comments));
    lot.setValue(QStringLiteral("date_alerte"), dateValue(m_ui->date_alerte));
    lot.setValue(QStringLiteral("date_fin"), dateValue(m_ui->date_fin));
    lot.setValue(QStringLiteral("coupe_fini"), textOrNull(m_ui->coupe_fini->currentText()));
    return lot;
}

QVariantMap LotEditor::changes() const
{
    const QSqlRecord now = record();
    QVariantMap changed;
    for (const QString &column : editedColumns())
        if (!sameValue(now.value(column), m_original.value(column))) changed.insert(column, now.value(column));
    return changed;
}

QList<ColumnChange> LotEditor::columnChanges() const
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("type_achat"), QStringLiteral("Type d'ACHAT")},
        {QStringLiteral("lieu"), QStringLiteral("Commune")},
        {QStringLiteral("adresse"), QStringLiteral("Lieu-dit")},
        {QStringLiteral("cp"), QStringLiteral("Code postal parcelle")},
        {QStringLiteral("latitude"), QStringLiteral("Latitude, Longitude")},
        {QStringLiteral("commentaire"), QStringLiteral("Commentaire")},
        {QStringLiteral("date_alerte"), QStringLiteral("Date alerte")},
        {QStringLiteral("date_fin"), QStringLiteral("Date fin")},
        {QStringLiteral("coupe_fini"), QStringLiteral("Terminé")},
        {QStringLiteral("estimation"), QStringLiteral("Total")},
        {QStringLiteral("fin_pied"), QStringLiteral("Arbres abattus (%)")},
        {QStringLiteral("fin_abattage"), QStringLiteral("Arbres Débardés (%)")}};
    const QSqlRecord now = record();
    QList<ColumnChange> list;
    for (const QString &column : editedColumns()) {
        const QVariant read = m_original.value(column);
        // A value shown differently but stored alike (line ends, empty texts) is no change.
        const QVariant value = sameValue(now.value(column), read) ? read : now.value(column);
        list.append({column, read, value, captions.value(column, column)});
    }
    return list;
}

int LotEditor::currentLine() const
{
    const QModelIndex i = m_ui->Grille_lots->currentIndex();
    if (m_lines->rowCount() == 0) return -1;
    return i.isValid() ? i.row() : 0;
}

void LotEditor::selectLine(int row)
{
    if (row < 0 || row >= m_lines->rowCount()) return;
    m_ui->Grille_lots->setCurrentIndex(m_lines->index(row, m_lines->column(QStringLiteral("essence"))));
}

void LotEditor::reloadLines()
{
    // The selected line stays selected when it is still listed.
    const int keepInc = currentLineInc();
    const int keepRow = currentLine();
    if (Status s = loadModel(*m_linesSource, m_context.db, lotVolumeLinesQuery(m_nLot)); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    showColumns(m_ui->Grille_lots, *m_lines,
                {{QStringLiteral("essence"), 110},
                 {QStringLiteral("qualite"), 90},
                 {QStringLiteral("qte"), 80},
                 {QStringLiteral("unite"), 45},
                 {QStringLiteral("a0"), 80},
                 {QStringLiteral("unite_livre"), 45},
                 {QStringLiteral("a1"), 80},
                 {QStringLiteral("unite_dispo"), 45},
                 {QStringLiteral("a3"), 90},
                 {QStringLiteral("unite_defaut"), 45}});
    if (m_lines->rowCount() == 0) {
        lineSelected();
        return;
    }
    const int again = rowOfLine(keepInc);
    selectLine(again >= 0 ? again : std::clamp(keepRow, 0, m_lines->rowCount() - 1));
}

void LotEditor::lineSelected()
{
    const int row = currentLine();
    const auto value = [&](const char *column) {
        return row < 0 ? QVariant() : m_lines->raw(row, QLatin1String(column));
    };
    const QString unit = value("unite").toString();
    m_ui->essence_ligne->setText(value("essence").toString());
    m_ui->qualite_ligne->setText(value("qualite").toString());
    for (const char *column : {"sur_pied", "abattage", "debardage", "broyage_reel", "volume_livre", "volume_transfert",
                               "volume_livre_stock", "qte"}) {
        auto *field = m_ui->Groupe_etat->findChild<QLineEdit *>(QLatin1String(column));
        auto *unitLabel = m_ui->Groupe_etat->findChild<QLabel *>(QStringLiteral("unite_") + QLatin1String(column));
        if (field) field->setText(formatValue(value(column), QStringLiteral("0.00")));
        if (unitLabel) unitLabel->setText(unit);
    }
    m_gauges = lotEditorGauges(m_ui->Image_etat->minimumSize(), value("fin_pied").toDouble(),
                               value("fin_abattage").toDouble());
    m_ui->Image_etat->setPixmap(QPixmap::fromImage(m_gauges));

    // "Exploitation" shows the same line, with its work.
    const int inc = currentLineInc();
    if (m_workTab && inc != 0 && inc != m_workTab->currentLineInc()) m_workTab->selectLine(inc);
}

int LotEditor::currentLineInc() const
{
    const int row = currentLine();
    return row < 0 ? 0 : m_lines->raw(row, QStringLiteral("inc")).toInt();
}

int LotEditor::rowOfLine(int inc) const
{
    if (inc == 0) return -1;
    for (int row = 0; row < m_lines->rowCount(); ++row)
        if (m_lines->raw(row, QStringLiteral("inc")).toInt() == inc) return row;
    return -1;
}

void LotEditor::selectLineByInc(int inc)
{
    if (inc == 0 || inc == currentLineInc()) return;
    selectLine(rowOfLine(inc));
}

void LotEditor::reloadDeliveries()
{
    auto table = readLotDeliveries(m_context.db, QString::number(m_nLot));
    if (!table) {
        m_context.dialogs->error(table.error());
        return;
    }
    struct Column
    {
        const char *name;
        const char *title;
        const char *format;
    };
    static const Column columns[] = {{"type_cde", "type_cde", nullptr},
                                     {"date_creation", "Date liv", nullptr},
                                     {"essence", "essence", nullptr},
                                     {"qualite", "qualite", nullptr},
                                     {"qte_liv", "Qte", "#,##0.00"},
                                     {"unite_liv", "unite_liv", nullptr},
                                     {"prix_unit", "prix_unit", "#,##0.00"},
                                     {"n0", "€", nullptr},
                                     {"prix_total", "prix_total", "#,##0.00"},
                                     {"n0", "€", nullptr},
                                     {"qte_defaut", "équivalent", "#,##0.00"},
                                     {"unite_defaut", "unite", nullptr},
                                     {"lieu", "Client", nullptr},
                                     {"stock", "Mode", nullptr}};
    m_deliveries->clear();
    QStringList titles;
    for (const Column &c : columns) titles << QString::fromUtf8(c.title);
    m_deliveries->setHorizontalHeaderLabels(titles);
    for (int row = 0; row < table->rowCount(); ++row) {
        QList<QStandardItem *> items;
        for (const Column &c : columns) {
            const QVariant v = table->value(row, QLatin1String(c.name));
            if (c.format) {
                items << cell(formatValue(v, QLatin1String(c.format)), Qt::AlignRight);
            } else if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate) {
                items << cell(formatDate(v.typeId() == QMetaType::QDate ? v.toDate() : v.toDateTime().date()));
            } else {
                items << cell(v.toString());
            }
        }
        m_deliveries->appendRow(items);
    }
}

void LotEditor::computeTotals()
{
    auto totals = readLotTotals(m_context.db, m_nLot);
    if (!totals) return; // the totals keep what they showed
    m_totals = *totals;
    const QString unit = QStringLiteral(" (") + m_context.defaultUnit() + QLatin1Char(')');
    m_ui->Total->setText(formatNumber(m_totals.total, QStringLiteral("0.00")) + unit);
    m_ui->Total_dispo->setText(formatNumber(m_totals.available, QStringLiteral("0.00")) + unit);
    m_ui->Total_livre->setText(formatNumber(m_totals.delivered, QStringLiteral("0.00")) + unit);
    m_lot.setValue(QStringLiteral("estimation"), round3(m_totals.total));
}

void LotEditor::recomputeWoodState()
{
    computeTotals();
    auto totals = computeWoodState(m_context.db, m_nLot);
    if (totals) {
        // The lot's estimation and cost total are written with the wood state.
        m_original.setValue(QStringLiteral("estimation"), round3(totals->total));
    } else {
        m_context.dialogs->error(totals.error());
    }
    reloadLines();
}

void LotEditor::purchaseTypeChosen(int index)
{
    const auto shares = purchaseTypeShares(m_ui->type_achat->itemText(index));
    if (!shares) return;
    m_lot.setValue(QStringLiteral("fin_pied"), shares->finPied);
    m_lot.setValue(QStringLiteral("fin_abattage"), shares->finAbattage);
    recomputeWoodState();
}

void LotEditor::leaveFinishedField()
{
    const QString value = m_ui->coupe_fini->currentText();
    if (value == m_finishedApplied) return;
    if (Status s = applyLotFinished(m_context.db, m_nLot, value == QLatin1String("OUI")); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    m_finishedApplied = value;
    if (m_ownersTab) m_ownersTab->setLotFinished(value == QLatin1String("OUI"));
    if (m_workTab) m_workTab->setLotFinished(value == QLatin1String("OUI"));
}

bool LotEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->coupe_fini && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        leaveFinishedField();
    return QDialog::eventFilter(watched, event);
}

void LotEditor::showLogs()
{
    // New logs take the lot's town as it stands in the editor, typed or not yet saved.
    LotLogsDialog logs(m_context, m_nLot, m_indiceLot, record().value(QStringLiteral("lieu")).toString(),
                       number(m_lot, "total_grume"), number(m_lot, "total_grume_livre"), this);
    runModal(logs);
    if (logs.totalsWritten()) {
        // Already written by the log list: the lot row and what was read both hold them now.
        for (QSqlRecord *lot : {&m_lot, &m_original}) {
            lot->setValue(QStringLiteral("total_grume"), logs.totals().total);
            lot->setValue(QStringLiteral("total_grume_livre"), logs.totals().delivered);
        }
    }
    computeTotals();
}

void LotEditor::printLotDeliveries()
{
    if (m_deliveries->rowCount() == 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    auto table = readLotDeliveries(m_context.db, QString::number(m_nLot),
                                   DatePeriod{m_ui->Periode_du->date(), m_ui->Periode_au->date()});
    if (!table) {
        m_context.dialogs->error(table.error());
        return;
    }
    const QSqlRecord lot = record();
    auto document = layoutLotDeliveries(lotDeliveriesData(*table, m_nLot, lot.value(QStringLiteral("lieu")).toString(),
                                                          lot.value(QStringLiteral("adresse")).toString()));
    if (!document) {
        m_context.dialogs->error(document.error());
        return;
    }
    ReportPreview preview(*document, *m_context.dialogs, this);
    runModal(preview);
}

void LotEditor::validate()
{
    const QSqlRecord lot = record();
    if (lot.value(QStringLiteral("lieu")).toString().contains(QLatin1Char('\''))) {
        m_context.dialogs->message(QStringLiteral("Ne pas mettre d'apostrophe sur le LIEU !!!"));
        return;
    }
    if (lot.value(QStringLiteral("adresse")).toString().contains(QLatin1Char('\''))) {
        m_context.dialogs->message(QStringLiteral("Ne pas mettre d'apostrophe sur le l'ADRESSE !!!"));
        return;
    }
    recomputeWoodState();
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

void LotEditor::done(int result)
{
    // Closing the editor leaves the "Terminé :" field too.
    leaveFinishedField();
    QDialog::done(result);
}

} // namespace ravelin

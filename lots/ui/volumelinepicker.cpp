#include "volumelinepicker.h"
#include "ui_volumelinepicker.h"

#include "appcontext.h"
#include "formats.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "modal.h"

#include <QSqlQueryModel>
#include <QSqlRecord>

namespace ravelin {

VolumeLinePicker::VolumeLinePicker(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_n_lot>()), m_context(context),
      m_source(new QSqlQueryModel(this)), m_grid(new GridModel(this))
{
    m_ui->setupUi(this);
    m_grid->setSourceModel(m_source);
    for (const char *c : {"m3", "a0", "a1"}) m_grid->setFormat(QLatin1String(c), QStringLiteral("#,##0.00"));
    m_grid->setCaption(QStringLiteral("m3"), QStringLiteral("Quantité"));
    m_grid->setCaption(QStringLiteral("a1"), QStringLiteral("Qte dispo"));
    m_grid->setCaption(QStringLiteral("a0"), QStringLiteral("Qte livrée"));
    prepareGrid(m_ui->Grille_produits);
    m_ui->Grille_produits->setModel(m_grid);
    m_ui->Groupe_total->setTitle(QStringLiteral("Quantité totale (") + context.defaultUnit() + QLatin1Char(')'));

    connect(m_ui->BtnRechercher, &QPushButton::clicked, this, &VolumeLinePicker::search);
    for (QRadioButton *sort : {m_ui->tri_essence, m_ui->tri_lieu, m_ui->tri_n_lot})
        connect(sort, &QRadioButton::toggled, this, [this](bool on) {
            if (on) search();
        });
    connect(m_ui->Grille_produits, &QTableView::doubleClicked, this, &VolumeLinePicker::validate);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &VolumeLinePicker::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &VolumeLinePicker::reject);
    search();
}

VolumeLinePicker::~VolumeLinePicker() = default;

void VolumeLinePicker::search()
{
    VolumeLineSearch wanted;
    wanted.species = m_ui->Essence->text();
    wanted.lots = m_ui->N_coupe->text();
    wanted.place = m_ui->Lieu->text();
    if (m_ui->tri_lieu->isChecked()) wanted.sort = VolumeLineSort::Place;
    else if (m_ui->tri_n_lot->isChecked()) wanted.sort = VolumeLineSort::LotNumber;
    auto statement = volumeLinePickerQuery(wanted);
    if (!statement) {
        m_context.dialogs->error(statement.error());
        return;
    }
    if (Status s = loadModel(*m_source, m_context.db, *statement); !s) {
        m_context.dialogs->error(s.error());
        return;
    }
    showColumns(m_ui->Grille_produits, *m_grid,
                {{QStringLiteral("essence"), 120},
                 {QStringLiteral("qualite"), 100},
                 {QStringLiteral("m3"), 80},
                 {QStringLiteral("a1"), 80},
                 {QStringLiteral("unite"), 50},
                 {QStringLiteral("a0"), 80},
                 {QStringLiteral("n_lot"), 70},
                 {QStringLiteral("lieu"), 140},
                 {QStringLiteral("adresse"), 140},
                 {QStringLiteral("cp"), 60}});
    double available = 0;
    for (int row = 0; row < m_grid->rowCount(); ++row) available += m_grid->raw(row, QStringLiteral("a1")).toDouble();
    m_ui->Total->setText(formatNumber(available, QStringLiteral("0.00")) + QLatin1Char(' ') + m_context.defaultUnit());
    m_ui->Label_nb->setText(QStringLiteral("( nb : ") + QString::number(m_grid->rowCount()) + QStringLiteral(" )"));
    if (m_grid->rowCount() > 0)
        m_ui->Grille_produits->setCurrentIndex(m_grid->index(0, m_grid->column(QStringLiteral("essence"))));
}

void VolumeLinePicker::lockLotFilter(const QString &lots)
{
    m_ui->N_coupe->setText(lots);
    m_ui->N_coupe->setReadOnly(true);
    search();
}

std::optional<VolumeLineChoice> VolumeLinePicker::selectedLine() const
{
    if (m_grid->rowCount() == 0) return std::nullopt;
    const QModelIndex i = m_ui->Grille_produits->currentIndex();
    return volumeLineChoice(m_source->record(i.isValid() ? i.row() : 0));
}

void VolumeLinePicker::validate()
{
    if (!selectedLine()) {
        reject();
        return;
    }
    accept();
}

std::optional<VolumeLineChoice> pickVolumeLine(AppContext &context, QWidget *parent, const QString &lockedLots)
{
    VolumeLinePicker picker(context, parent);
    if (!lockedLots.isEmpty()) picker.lockLotFilter(lockedLots);
    if (runModal(picker) != QDialog::Accepted) return std::nullopt;
    return picker.selectedLine();
}

} // namespace ravelin

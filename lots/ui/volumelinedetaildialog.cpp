#include "volumelinedetaildialog.h"
#include "ui_volumelinedetaildialog.h"

#include "appcontext.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "modal.h"

#include <QSqlQueryModel>

namespace ravelin {

VolumeLineDetailDialog::VolumeLineDetailDialog(AppContext &context, const AvailableLinesFilter &filter, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_grume_detail>()), m_source(new QSqlQueryModel(this)),
      m_grid(new GridModel(this))
{
    m_ui->setupUi(this);
    const QString unit = context.defaultUnit();
    m_grid->setSourceModel(m_source);
    m_grid->setFormat(QStringLiteral("dispo"), QStringLiteral("#,##0.00"));
    m_grid->setCaption(QStringLiteral("qte_defaut"), QStringLiteral("Qté(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("qte_livree_defaut"), QStringLiteral("Qte liv(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("dispo"), QStringLiteral("Qte Dispo(") + unit + QLatin1Char(')'));
    m_grid->setCaption(QStringLiteral("N_lot"), QStringLiteral("N°coupe"));
    prepareGrid(m_ui->Grille_produits);
    m_ui->Grille_produits->setModel(m_grid);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &VolumeLineDetailDialog::accept);

    if (Status s = loadModel(*m_source, context.db, availableLinesDetailQuery(filter)); !s) {
        context.dialogs->error(s.error());
        return;
    }
    m_loaded = true;
}

VolumeLineDetailDialog::~VolumeLineDetailDialog() = default;

void showVolumeLineDetail(AppContext &context, const AvailableLinesFilter &filter, QWidget *parent)
{
    VolumeLineDetailDialog dialog(context, filter, parent);
    if (!dialog.loaded()) return;
    runModal(dialog);
}

} // namespace ravelin

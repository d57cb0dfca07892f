#include "costpricetab.h"
#include "ui_costpricetab.h"

#include "appcontext.h"
#include "formats.h"
#include "dialogs.h"
#include "gridhelpers.h"

namespace ravelin {

namespace {

void showAmount(QLineEdit *box, double value, const QString &pattern = QStringLiteral("0.00"))
{
    box->setText(formatNumber(value, pattern));
}

// Margins are red below zero, black otherwise.
void showSigned(QLineEdit *box, double value, const QString &pattern = QStringLiteral("0.00"))
{
    showAmount(box, value, pattern);
    box->setStyleSheet(value < 0 ? QStringLiteral("color: #FF0000;") : QStringLiteral("color: #000000;"));
}

} // namespace

CostPriceTab::CostPriceTab(AppContext &context, int nLot, QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Onglet_prix_revient>()), m_context(context), m_nLot(nLot)
{
    m_ui->setupUi(this);
    const QString unit = context.defaultUnit();
    m_ui->Unite_Qte_vendue_plaquette->setText(unit);
    m_ui->Unite_Qte_vendue_grume->setText(unit);
    m_ui->Unite_Total_qte_vendue->setText(unit);
    m_ui->Unite_Prix_revient->setText(QStringLiteral("€ / ") + unit);
    m_ui->Label_marge_unite->setText(QStringLiteral("Marge / ") + unit);
}

CostPriceTab::~CostPriceTab() = default;

void CostPriceTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void CostPriceTab::refresh()
{
    const auto read = readCostPrice(m_context.db, m_nLot);
    if (!read) {
        m_context.dialogs->error(read.error());
        return;
    }
    const CostPrice &p = *read;
    m_figures = p;
    showAmount(m_ui->Cout_achat, p.sums.achat);
    showAmount(m_ui->Cout_abattage, p.sums.abattage);
    showAmount(m_ui->Cout_debardage, p.sums.debardage);
    showAmount(m_ui->Cout_autre, p.sums.autre);
    showAmount(m_ui->Cout_total_coupe, p.totalCoupe);
    showAmount(m_ui->Total_vente_plaquette, p.sums.ventePlaquette);
    showAmount(m_ui->Qte_vendue_plaquette, p.sums.qtePlaquette);
    showAmount(m_ui->Cout_livraison_plaquette, p.sums.livraisonPlaquette);
    showAmount(m_ui->Cout_livraison_grume, p.sums.livraisonGrume);
    showAmount(m_ui->Total_vente_grume, p.sums.venteGrume);
    showAmount(m_ui->Qte_vendue_grume, p.sums.qteGrume);
    showAmount(m_ui->Cout_transfert, p.sums.transfert);
    showAmount(m_ui->Total_couts, p.totalCouts);
    showAmount(m_ui->Total_ventes, p.totalVentes);
    showAmount(m_ui->Total_qte_vendue, p.totalQte);
    showSigned(m_ui->Total_marge, p.marge);
    // A division by nothing sold leaves its box as it was.
    if (p.margePourcent) showSigned(m_ui->Marge_pourcent, *p.margePourcent, QStringLiteral("0"));
    if (p.prixRevient) showAmount(m_ui->Prix_revient, *p.prixRevient);
    if (p.margeParUnite) showSigned(m_ui->Marge_unite, *p.margeParUnite);
}

} // namespace ravelin

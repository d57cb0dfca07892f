#include "productlinedialog.h"
#include "ui_productlinedialog.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "gridmodel.h"
#include "namelists.h"
#include "orderhooks.h"
#include "textlimits.h"
#include "volumelinepicker.h"

namespace ravelin {

namespace {

void fillNames(QComboBox *box, const Result<QStringList> &names, const QString &current)
{
    box->setEditable(true);
    box->addItem(QString());
    if (names) box->addItems(*names);
    box->setCurrentText(current);
}

void paintField(QLineEdit *field, bool current)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, rgb(current ? QStringLiteral("00FF00") : QStringLiteral("C0C0C0")));
    field->setPalette(p);
}

} // namespace

ProductLineDialog::ProductLineDialog(AppContext &context, const ProductLine &line, const QString &saleUnit,
                                     const QString &defaultUnit, bool changeMode, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_volume_cde>()), m_context(context), m_line(line),
      m_saleUnit(saleUnit), m_defaultUnit(defaultUnit), m_changeMode(changeMode)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("liste_grume_cde"));
    fillNames(m_ui->essence, speciesNames(context.db), line.essence);
    fillNames(m_ui->qualite, qualityNames(context.db), line.qualite);
    m_ui->unite_liv->setText(saleUnit);
    m_ui->qte_liv->setText(line.qteLiv.isNull() ? QString() : formatValue(line.qteLiv, QStringLiteral("0.##")));
    m_ui->prix_unit->setText(line.prixUnit.isNull() ? QString() : formatValue(line.prixUnit, QStringLiteral("0.####")));
    installDecimalEntry(m_ui->qte_liv);
    installDecimalEntry(m_ui->prix_unit);
    m_ui->coupe_bois->setText(line.nLot);
    m_ui->stock_buche->setText(line.stockBuche);
    if (line.origin == originStock()) m_ui->choix_stock->setChecked(true);
    else if (line.origin == originElsewhere()) m_ui->choix_autre->setChecked(true);
    else m_ui->choix_coupe->setChecked(true);
    // the stock list comes with the firewood stocks; until then its button stays disabled
    m_ui->BtnStock->setEnabled(bool(orderHooks().pickStock));
    if (changeMode) {
        for (QWidget *w : {static_cast<QWidget *>(m_ui->choix_coupe), static_cast<QWidget *>(m_ui->choix_stock),
                           static_cast<QWidget *>(m_ui->choix_autre), static_cast<QWidget *>(m_ui->essence),
                           static_cast<QWidget *>(m_ui->qualite)})
            w->setEnabled(false);
        for (QWidget *w : {m_ui->BtnCoupe, m_ui->BtnStock, m_ui->BtnViderEssence, m_ui->BtnViderQualite}) w->hide();
    }
    showOrigin();
    computeTotal();

    for (QRadioButton *choice : {m_ui->choix_coupe, m_ui->choix_stock, m_ui->choix_autre})
        connect(choice, &QRadioButton::toggled, this, [this](bool on) {
            if (on) originChosen();
        });
    connect(m_ui->BtnCoupe, &QPushButton::clicked, this, &ProductLineDialog::chooseLot);
    connect(m_ui->BtnStock, &QPushButton::clicked, this, &ProductLineDialog::chooseStock);
    connect(m_ui->BtnViderEssence, &QPushButton::clicked, this, [this] { m_ui->essence->setCurrentText(QString()); });
    connect(m_ui->BtnViderQualite, &QPushButton::clicked, this, [this] { m_ui->qualite->setCurrentText(QString()); });
    connect(m_ui->qte_liv, &QLineEdit::textChanged, this, &ProductLineDialog::computeTotal);
    connect(m_ui->prix_unit, &QLineEdit::textChanged, this, &ProductLineDialog::computeTotal);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ProductLineDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &QDialog::reject);
}

ProductLineDialog::~ProductLineDialog() = default;

void ProductLineDialog::showOrigin()
{
    const bool lot = m_ui->choix_coupe->isChecked();
    const bool stock = m_ui->choix_stock->isChecked();
    paintField(m_ui->coupe_bois, lot);
    paintField(m_ui->stock_buche, stock);
    if (!m_changeMode) {
        m_ui->BtnCoupe->setVisible(lot);
        m_ui->BtnStock->setVisible(stock);
    }
}

void ProductLineDialog::originChosen()
{
    // a line never holds two origins
    if (m_ui->choix_coupe->isChecked()) {
        m_line.origin = originLot();
        m_ui->stock_buche->clear();
        m_line.nLot.clear();
        m_line.stockBuche.clear();
        m_line.incStockBuche = QVariant();
        m_line.stockEssence.clear();
        m_line.stockQualite.clear();
        m_line.stockUnite.clear();
    } else if (m_ui->choix_stock->isChecked()) {
        m_line.origin = originStock();
        m_ui->coupe_bois->clear();
        m_line.nLot.clear();
    } else {
        m_line.origin = originElsewhere();
        m_ui->coupe_bois->clear();
        m_ui->stock_buche->clear();
        m_line.nLot.clear();
        m_line.stockBuche.clear();
        m_line.incStockBuche = QVariant();
        m_line.uniteConso = m_defaultUnit;
    }
    showOrigin();
}

void ProductLineDialog::chooseLot()
{
    const auto chosen = pickVolumeLine(m_context, this);
    if (!chosen) return;
    m_line.nLot = QString::number(chosen->nLot);
    m_line.essence = chosen->essence;
    m_line.id = chosen->inc;
    m_line.uniteConso = chosen->unite;
    m_ui->coupe_bois->setText(m_line.nLot);
    m_ui->essence->setCurrentText(chosen->essence);
}

void ProductLineDialog::chooseStock()
{
    if (!orderHooks().pickStock) return;
    const auto chosen = orderHooks().pickStock(m_context, this);
    if (!chosen) return;
    m_line.stockBuche = chosen->destination;
    m_line.essence = chosen->essence;
    m_line.qualite = chosen->qualite;
    m_line.nLot = chosen->nLot;
    m_line.stockEssence = chosen->essence;
    m_line.stockQualite = chosen->qualite;
    m_line.stockUnite = chosen->uniteStock;
    m_line.uniteConso = chosen->uniteStock;
    m_line.id = chosen->id;
    m_line.incStockBuche = chosen->inc;
    m_ui->stock_buche->setText(chosen->destination);
    m_ui->essence->setCurrentText(chosen->essence);
    m_ui->qualite->setCurrentText(chosen->qualite);
}

void ProductLineDialog::computeTotal()
{
    bool okQte = false;
    bool okPrix = false;
    const double qte = parseDecimal(m_ui->qte_liv->text(), &okQte);
    const double prix = parseDecimal(m_ui->prix_unit->text(), &okPrix);
    m_ui->prix_total->setText(formatNumber(okQte && okPrix ? round2(qte * prix) : 0.0, QStringLiteral("0.00")));
}

ProductLine ProductLineDialog::line() const
{
    ProductLine line = m_line;
    line.essence = m_ui->essence->currentText();
    line.qualite = m_ui->qualite->currentText();
    line.qteLiv = m_ui->qte_liv->text().trimmed().isEmpty() ? QVariant() : QVariant(m_ui->qte_liv->text().trimmed());
    line.prixUnit =
        m_ui->prix_unit->text().trimmed().isEmpty() ? QVariant() : QVariant(m_ui->prix_unit->text().trimmed());
    return line;
}

void ProductLineDialog::validate()
{
    if (const QString refused = checkProductLine(line(), m_saleUnit); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        return;
    }
    accept();
}

} // namespace ravelin

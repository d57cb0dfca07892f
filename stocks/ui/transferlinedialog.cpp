#include "transferlinedialog.h"
#include "ui_transferlinedialog.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "namelists.h"
#include "stocklistdialog.h"
#include "units.h"
#include "volumelinepicker.h"

namespace ravelin {

namespace {

void choose(QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text));
}

QString quantityText(const QVariant &value)
{
    if (value.isNull() || value.toString().isEmpty()) return QString();
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok ? frenchLocale().toString(v, 'g', 10) : value.toString();
}

} // namespace

TransferLineDialog::TransferLineDialog(AppContext &context, const QSqlRecord &transfer, const TransferLine &line,
                                       Mode mode, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_volume_transfert>()), m_context(context), m_transfer(transfer),
      m_line(line), m_mode(mode)
{
    m_ui->setupUi(this);
    installDecimalEntry(m_ui->qte_conso);
    installDecimalEntry(m_ui->qte_liv);
    for (QComboBox *unit : {m_ui->unite_conso, m_ui->unite_liv}) unit->addItems(quantityUnits());

    auto species = speciesNames(context.db);
    auto qualities = qualityNames(context.db);
    auto coefs = coefChoices(context.db);
    if (!species || !qualities || !coefs)
        context.dialogs->error(!species ? species.error() : !qualities ? qualities.error() : coefs.error());
    if (species) m_ui->liste_essence->addItems(*species);
    if (qualities) {
        m_ui->liste_qualite->addItems(*qualities);
        m_ui->qualite_destination->addItems(*qualities);
    }
    if (coefs) m_coefs = *coefs;
    for (const CoefChoice &c : m_coefs) m_ui->inc_coef->addItem(c.designation, c.inc);
    m_ui->inc_coef->setCurrentIndex(m_ui->inc_coef->findData(line.incCoef.toInt()));
    connect(m_ui->inc_coef, &QComboBox::currentIndexChanged, this, &TransferLineDialog::showCoef);

    m_ui->essence->setText(line.essence);
    m_ui->qualite->setText(line.qualite);
    choose(m_ui->liste_essence, line.essence);
    choose(m_ui->liste_qualite, line.qualite);
    choose(m_ui->qualite_destination, line.qualiteDestination);
    choose(m_ui->unite_conso, line.uniteConso);
    choose(m_ui->unite_liv, line.uniteLiv);
    m_ui->unite_conso_texte->setText(line.uniteConso);
    m_ui->qte_conso->setText(quantityText(line.qteConso));
    m_ui->qte_liv->setText(quantityText(line.qteLiv));
    showCoef();
    connect(m_ui->unite_conso, &QComboBox::currentTextChanged, m_ui->unite_conso_texte, &QLabel::setText);

    const QString origin = transfer.value(QStringLiteral("type_transfert")).toString();
    const bool lot = origin == transferFromLot();
    const bool stock = origin == transferFromStock();
    if (mode == Mode::Add) {
        m_ui->BtnCoupe->setVisible(lot);
        m_ui->BtnStock->setVisible(stock);
        m_ui->essence->setVisible(lot || stock);
        m_ui->liste_essence->setVisible(!lot && !stock);
        m_ui->qualite->setVisible(stock);
        m_ui->liste_qualite->setVisible(!stock);
        m_ui->unite_conso->setEnabled(!lot && !stock);
    } else {
        m_ui->BtnCoupe->hide();
        m_ui->BtnStock->hide();
        m_ui->liste_essence->hide();
        m_ui->liste_qualite->hide();
        m_ui->qualite_destination->setEnabled(false);
        m_ui->unite_conso->setEnabled(false);
        m_ui->unite_liv->setEnabled(false);
    }
    connect(m_ui->BtnCoupe, &QPushButton::clicked, this, &TransferLineDialog::chooseVolumeLine);
    connect(m_ui->BtnStock, &QPushButton::clicked, this, &TransferLineDialog::chooseStock);
    connect(m_ui->BtnCalcul, &QPushButton::clicked, this, &TransferLineDialog::convert);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &TransferLineDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &TransferLineDialog::reject);
    connect(m_ui->BtnFermer, &QPushButton::clicked, this, &TransferLineDialog::reject);
}

TransferLineDialog::~TransferLineDialog() = default;

bool TransferLineDialog::speciesListed() const
{
    return !m_ui->essence->isVisibleTo(this);
}

bool TransferLineDialog::qualityListed() const
{
    return !m_ui->qualite->isVisibleTo(this);
}

void TransferLineDialog::showCoef()
{
    const int i = m_ui->inc_coef->currentIndex();
    const double coef = i >= 0 && i < m_coefs.size() ? m_coefs.at(i).coef : m_line.coef.toDouble();
    m_ui->coef->setText(formatNumber(coef, QStringLiteral("0.##")) + QStringLiteral(" %"));
}

TransferLine TransferLineDialog::line() const
{
    TransferLine l = m_line;
    l.essence = speciesListed() ? m_ui->liste_essence->currentText() : m_ui->essence->text();
    l.qualite = qualityListed() ? m_ui->liste_qualite->currentText() : m_ui->qualite->text();
    l.qualiteDestination = m_ui->qualite_destination->currentText();
    l.uniteConso = m_ui->unite_conso->currentText();
    l.uniteLiv = m_ui->unite_liv->currentText();
    l.qteConso = m_ui->qte_conso->text().trimmed();
    l.qteLiv = m_ui->qte_liv->text().trimmed();
    const int i = m_ui->inc_coef->currentIndex();
    if (i >= 0 && i < m_coefs.size()) {
        l.incCoef = m_coefs.at(i).inc;
        l.coef = m_coefs.at(i).coef;
    }
    return l;
}

void TransferLineDialog::chooseVolumeLine()
{
    // only the transfer's own lot
    const auto chosen = pickVolumeLine(m_context, this, m_transfer.value(QStringLiteral("depart")).toString());
    if (!chosen) return;
    m_line.essence = chosen->essence;
    m_line.nLot = QString::number(chosen->nLot);
    m_line.id = chosen->inc;
    m_line.uniteConso = chosen->unite;
    m_ui->essence->setText(chosen->essence);
    choose(m_ui->unite_conso, chosen->unite);
}

void TransferLineDialog::chooseStock()
{
    const auto chosen = pickFirewoodStock(m_context, this, m_transfer.value(QStringLiteral("depart")).toString());
    if (!chosen) return;
    m_line.essence = chosen->essence;
    m_line.qualite = chosen->qualite;
    m_line.uniteDepart = chosen->uniteStock;
    m_line.uniteConso = chosen->uniteStock;
    m_line.nLot = chosen->nLot;
    m_line.id = chosen->id;
    m_line.incStockBuche = chosen->inc;
    m_ui->essence->setText(chosen->essence);
    m_ui->qualite->setText(chosen->qualite);
    choose(m_ui->unite_conso, chosen->uniteStock);
}

void TransferLineDialog::convert()
{
    const TransferLine l = line();
    bool ok = false;
    const double qteLiv = parseDecimal(l.qteLiv.toString(), &ok);
    if (!ok) return; // nothing to convert yet
    auto converted =
        convertTransferLine(m_context.db, l.essence, m_transfer.value(QStringLiteral("unite_defaut")).toString(),
                            l.uniteConso, l.uniteLiv, qteLiv, l.coef.toDouble());
    if (!converted) {
        m_context.dialogs->error(converted.error());
        return;
    }
    m_ui->qte_conso->setText(quantityText(converted->qteConso));
}

void TransferLineDialog::validate()
{
    if (const QString refused = checkTransferLine(line(), true); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        return;
    }
    if (saveFromEditor(m_context, *this, m_save)) accept();
}

} // namespace ravelin

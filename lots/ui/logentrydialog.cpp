#include "logentrydialog.h"
#include "ui_logentrydialog.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "dialogs.h"
#include "gridhelpers.h"
#include "namelists.h"
#include "textlimits.h"

namespace ravelin {

namespace {

void fillList(QComboBox *box, const Result<QStringList> &names, const QString &current)
{
    if (names) box->addItems(*names);
    if (!current.isEmpty() && box->findText(current) < 0) box->addItem(current);
    box->setCurrentIndex(current.isEmpty() ? -1 : box->findText(current));
}

QString shown(const QVariant &v, const char *pattern)
{
    return v.isNull() ? QString() : formatNumber(v.toDouble(), QLatin1String(pattern));
}

} // namespace

LogEntryDialog::LogEntryDialog(AppContext &context, const LogRecord &log, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_grume>()), m_context(context), m_log(log)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("grume"));
    makeDateNullable(m_ui->date_creation);
    setDateValue(m_ui->date_creation, log.dateCreation);
    m_ui->n_grume->setText(log.nGrume);
    // Measures are shown as typed numbers, with the decimal comma.
    m_ui->diametre->setText(shown(log.diametre, "0.##########"));
    m_ui->longueur->setText(shown(log.longueur, "0.##########"));
    m_ui->pourcent_ecorce->setText(shown(log.pourcentEcorce, "0.##########"));
    m_ui->m3_sur_ecorce->setText(shown(log.m3SurEcorce, "0.000"));
    m_ui->m3->setText(shown(log.m3, "0.000"));
    m_ui->classe->setText(log.classe);
    for (QLineEdit *field : {m_ui->diametre, m_ui->longueur, m_ui->pourcent_ecorce}) installDecimalEntry(field);

    auto species = speciesNames(context.db);
    if (!species) context.dialogs->error(species.error());
    fillList(m_ui->essence, species, log.essence);
    auto qualities = qualityNames(context.db);
    if (!qualities) context.dialogs->error(qualities.error());
    fillList(m_ui->qualite, qualities, log.qualite);

    for (QLineEdit *field : {m_ui->diametre, m_ui->longueur, m_ui->pourcent_ecorce})
        connect(field, &QLineEdit::textChanged, this, &LogEntryDialog::computeVolume);
    connect(m_ui->BtnCalculVolume, &QPushButton::clicked, this, &LogEntryDialog::computeVolume);
    connect(m_ui->BtnViderEssence, &QPushButton::clicked, this, [this] { m_ui->essence->setCurrentIndex(-1); });
    connect(m_ui->BtnViderQualite, &QPushButton::clicked, this, [this] { m_ui->qualite->setCurrentIndex(-1); });
    connect(m_ui->BtnViderClasse, &QPushButton::clicked, this, [this] { m_ui->classe->clear(); });
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &LogEntryDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &LogEntryDialog::reject);
}

LogEntryDialog::~LogEntryDialog() = default;

std::optional<double> LogEntryDialog::measure(const QLineEdit *field, bool *valid) const
{
    const QString text = field->text().trimmed();
    *valid = true;
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = parseDecimal(text, &ok);
    if (!ok) {
        *valid = false;
        return std::nullopt;
    }
    return v;
}

void LogEntryDialog::computeVolume()
{
    bool dOk, lOk, pOk;
    const auto d = measure(m_ui->diametre, &dOk);
    const auto l = measure(m_ui->longueur, &lOk);
    const auto p = measure(m_ui->pourcent_ecorce, &pOk);
    // A measure that is not a number leaves the values it feeds as they were.
    if (dOk && lOk) {
        const LogVolume volume = logVolume(d, l, pOk ? p : std::nullopt);
        if (volume.overBark) m_ui->m3_sur_ecorce->setText(formatNumber(*volume.overBark, QStringLiteral("0.000")));
        if (volume.underBark) m_ui->m3->setText(formatNumber(*volume.underBark, QStringLiteral("0.000")));
    }
    if (dOk && d) {
        auto found = diameterClass(m_context.db, *d);
        if (found && *found) m_ui->classe->setText(**found);
    }
}

LogRecord LogEntryDialog::record() const
{
    LogRecord log = m_log;
    log.dateCreation = dateValue(m_ui->date_creation).toDate();
    log.nGrume = m_ui->n_grume->text().trimmed();
    log.essence = m_ui->essence->currentText();
    log.qualite = m_ui->qualite->currentText();
    log.classe = m_ui->classe->text();
    const auto numberOf = [](const QString &text) {
        bool ok = false;
        const double v = parseDecimal(text, &ok);
        return ok ? QVariant(v) : QVariant(QMetaType::fromType<double>());
    };
    log.diametre = numberOf(m_ui->diametre->text());
    log.longueur = numberOf(m_ui->longueur->text());
    log.pourcentEcorce = numberOf(m_ui->pourcent_ecorce->text());
    log.m3SurEcorce = numberOf(m_ui->m3_sur_ecorce->text());
    log.m3 = numberOf(m_ui->m3->text());
    return log;
}

void LogEntryDialog::validate()
{
    if (m_ui->n_grume->text().trimmed().isEmpty()) {
        m_context.dialogs->message(logNumberRequiredMessage());
        return;
    }
    if (record().m3.isNull()) {
        m_context.dialogs->message(logVolumeRequiredMessage());
        return;
    }
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

} // namespace ravelin

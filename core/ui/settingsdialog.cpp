#include "settingsdialog.h"
#include "ui_settingsdialog.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "geocodepage.h"
#include "mapserver.h"
#include "settings.h"
#include "textlimits.h"

#include <QCheckBox>
#include <QUrl>

namespace ravelin {

namespace {

const QStringList &numericColumns()
{
    static const QStringList columns{
        QStringLiteral("humidite_defaut"),    QStringLiteral("coef_surface_tonne"), QStringLiteral("cvo"),
        QStringLiteral("cout_broyage_tonne"), QStringLiteral("cout_transport"),     QStringLiteral("coef_camion"),
        QStringLiteral("tps_dechargement")};
    return columns;
}

const QList<std::pair<Counter, QString>> &counterFields()
{
    static const QList<std::pair<Counter, QString>> fields{
        {Counter::NLot, QStringLiteral("N° de LOT trop long, maxi 8 chiffres")},
        {Counter::NumBl, QStringLiteral("N° de BL trop long, maxi 8 chiffres")},
        {Counter::NumFacture, QStringLiteral("N° de facture trop long, maxi 8 chiffres")}};
    return fields;
}

QString numberText(const QVariant &v)
{
    if (v.isNull()) return QString();
    return formatNumber(v.toDouble(), QStringLiteral("0.##########"));
}

} // namespace

SettingsDialog::SettingsDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::parametrage>()), m_context(context)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("perso"));
    m_ui->cout_broyage_tonne->setVisible(false);
    m_ui->Label_cout_broyage_tonne->setVisible(false);
    m_ui->Unit_cout_broyage_tonne->setVisible(false);
    m_ui->cout_transport->setVisible(false);
    m_ui->Label_cout_transport->setVisible(false);
    m_ui->Unit_cout_transport->setVisible(false);
    for (const QString &column : numericColumns()) installDecimalEntry(findChild<QWidget *>(column));

    auto perso = loadSettings(context.db);
    if (!perso) {
        context.dialogs->error(perso.error());
        return;
    }
    auto counters = loadCounters(context.db);
    if (!counters) {
        context.dialogs->error(counters.error());
        return;
    }
    m_perso = *perso;
    m_increment = *counters;

    for (const QString &column : editableSettingsColumns())
        setFieldText(column, numericColumns().contains(column) ? numberText(m_perso.value(column))
                                                               : m_perso.value(column).toString());
    m_ui->unite_defaut->setText(m_perso.value(QStringLiteral("unite_defaut")).toString());
    for (const auto &[counter, message] : counterFields())
        setFieldText(counterColumn(counter), m_increment.value(counterColumn(counter)).toString());
    for (const QString &column : editableSettingsColumns()) m_shown[column] = fieldText(column);
    for (const auto &[counter, message] : counterFields())
        m_shown[counterColumn(counter)] = fieldText(counterColumn(counter));

    m_ui->Onglets->setCurrentWidget(m_ui->Tab_adresse);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &SettingsDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &SettingsDialog::reject);
    connect(m_ui->BtnCarte, &QPushButton::clicked, this, &SettingsDialog::showAddressPosition);
    m_loaded = true;
}

SettingsDialog::~SettingsDialog() = default;

QString SettingsDialog::fieldText(const QString &column) const
{
    if (auto *line = findChild<QLineEdit *>(column)) return line->text();
    if (auto *text = findChild<QPlainTextEdit *>(column)) return text->toPlainText();
    if (auto *box = findChild<QCheckBox *>(column))
        return box->isChecked() ? QStringLiteral("OUI") : QStringLiteral("NON");
    return QString();
}

void SettingsDialog::setFieldText(const QString &column, const QString &value)
{
    if (auto *line = findChild<QLineEdit *>(column)) line->setText(value);
    else if (auto *text = findChild<QPlainTextEdit *>(column)) text->setPlainText(value);
    else if (auto *box = findChild<QCheckBox *>(column))
        box->setChecked(value.trimmed().toUpper() == QLatin1String("OUI"));
}

void SettingsDialog::validate()
{
    for (const auto &[counter, message] : counterFields()) {
        if (fieldText(counterColumn(counter)).size() >= 9) {
            m_context.dialogs->message(message);
            return;
        }
    }
    const QString iban = fieldText(QStringLiteral("iban")).trimmed();
    if (iban != m_shown[QStringLiteral("iban")].trimmed() && !iban.isEmpty() && !validIban(iban)) {
        m_context.dialogs->message(QStringLiteral("IBAN invalide : %1").arg(iban));
        m_ui->Onglets->setCurrentWidget(m_ui->Tab_facture_electronique);
        return;
    }
    const QString bic = fieldText(QStringLiteral("bic")).trimmed();
    if (bic != m_shown[QStringLiteral("bic")].trimmed() && !bic.isEmpty() && !validBic(bic)) {
        m_context.dialogs->message(QStringLiteral("BIC invalide : %1").arg(bic));
        m_ui->Onglets->setCurrentWidget(m_ui->Tab_facture_electronique);
        return;
    }
    SettingsChanges changes;
    for (const auto &[counter, message] : counterFields()) {
        const QString column = counterColumn(counter);
        const QString text = fieldText(column).trimmed();
        if (text == m_shown[column].trimmed()) continue;
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        if (!ok || value < 0) {
            m_context.dialogs->message(QStringLiteral("Numéro invalide : \"%1\"").arg(text));
            return;
        }
        changes.counters.append({counter, m_increment.value(column).toLongLong(), value});
    }
    const auto caption = [this](const QString &column) {
        const auto *label = findChild<QLabel *>(QStringLiteral("Label_") + column);
        if (!label) return column;
        QString text = label->text();
        if (text.endsWith(QLatin1Char(':'))) text = text.chopped(1).trimmed();
        return text;
    };
    for (const QString &column : editableSettingsColumns()) {
        const QString text = fieldText(column);
        if (text == m_shown[column]) continue;
        if (numericColumns().contains(column)) {
            bool ok = false;
            const double value = parseDecimal(text, &ok);
            if (!ok && !text.trimmed().isEmpty()) {
                auto *label = findChild<QLabel *>(QStringLiteral("Label_") + column);
                m_context.dialogs->message(
                    QStringLiteral("Valeur numérique invalide : %1").arg(label ? label->text() : column));
                return;
            }
            changes.perso.append({column, m_perso.value(column),
                                  text.trimmed().isEmpty() ? QVariant(QMetaType(QMetaType::Double)) : QVariant(value),
                                  caption(column)});
        } else {
            changes.perso.append({column, m_perso.value(column), text, caption(column)});
        }
    }
    if (Status s = saveSettings(m_context.db, changes); !s) {
        m_context.dialogs->error(s.error());
        if (s.error().kind == ErrorKind::ChangedElsewhere) reloadAfterRefusal();
        return;
    }
    accept();
}

void SettingsDialog::reloadAfterRefusal()
{
    // A counter moved by another workstation shows its current value, and the next "OK" compares
    // with it; the other fields keep what the user typed and are compared with the row as it is now.
    if (auto counters = loadCounters(m_context.db)) {
        for (const auto &[counter, message] : counterFields()) {
            const QString column = counterColumn(counter);
            if (counters->value(column) == m_increment.value(column)) continue;
            const QString current = counters->value(column).toString();
            setFieldText(column, current);
            m_shown[column] = current;
        }
        m_increment = *counters;
    }
    if (auto perso = loadSettings(m_context.db)) m_perso = *perso;
}

void SettingsDialog::showAddressPosition()
{
    const QString address = QStringList{fieldText(QStringLiteral("adresse")), fieldText(QStringLiteral("cp")),
                                        fieldText(QStringLiteral("ville"))}
                                .join(QLatin1Char(' '));
    // a page that cannot be written or opened is said, not left to silence
    Status shown = [&]() -> Status {
        const auto page = writeGeocodingPage(m_context.applicationFolder, address);
        if (!page) return page.error();
        return showMapPage(m_context.applicationFolder, *page);
    }();
    if (!shown) m_context.dialogs->error(shown.error());
}

} // namespace ravelin

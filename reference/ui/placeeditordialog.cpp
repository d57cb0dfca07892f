#include "placeeditordialog.h"
#include "boundquery.h"
#include "ui_placeeditordialog.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "geocodepage.h"
#include "mapserver.h"
#include "textlimits.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QUrl>

namespace ravelin {

namespace {

// The text columns of the screen, each edited in the line edit of the same name.
const QStringList &textColumns()
{
    static const QStringList columns{
        QStringLiteral("client"),       QStringLiteral("destination"), QStringLiteral("adresse"),
        QStringLiteral("adresse1"),     QStringLiteral("cp"),          QStringLiteral("ville"),
        QStringLiteral("pays"),         QStringLiteral("client_fac"),  QStringLiteral("adresse_fac"),
        QStringLiteral("adresse1_fac"), QStringLiteral("cp_fac"),      QStringLiteral("ville_fac"),
        QStringLiteral("pays_fac"),     QStringLiteral("nom1"),        QStringLiteral("fonction1"),
        QStringLiteral("tel1"),         QStringLiteral("portable1"),   QStringLiteral("email1"),
        QStringLiteral("nom2"),         QStringLiteral("fonction2"),   QStringLiteral("tel2"),
        QStringLiteral("portable2"),    QStringLiteral("email2"),      QStringLiteral("pefc"),
        QStringLiteral("tva_intra"),    QStringLiteral("latitude")};
    return columns;
}

void fillChoices(QComboBox *combo, const QList<Choice> &choices)
{
    combo->clear();
    for (const Choice &c : choices) combo->addItem(c.text, c.key);
    combo->setCurrentIndex(-1);
}

} // namespace

PlaceEditorDialog::PlaceEditorDialog(AppContext &context, int inc, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_destination>()), m_context(context), m_inc(inc)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("destination"));
    m_ui->unite->addItems({QStringLiteral("TONNE"), QStringLiteral("MWH")});
    m_ui->unite->setCurrentIndex(-1);
    installDecimalEntry(m_ui->cout_mwh);
    installDecimalEntry(m_ui->cout_tonne);
    const QString mandatory = QStringLiteral("background-color: rgb(128, 255, 128);");
    for (QWidget *field :
         std::initializer_list<QWidget *>{m_ui->client, m_ui->destination, m_ui->inc_tva, m_ui->inc_reglement})
        field->setStyleSheet(mandatory);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &PlaceEditorDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &PlaceEditorDialog::reject);
    connect(m_ui->BtnCoordonnees, &QPushButton::clicked, this, &PlaceEditorDialog::showAddressPosition);

    auto vat = vatRateChoices(context.db);
    auto payment = vat ? paymentModeChoices(context.db) : Result<QList<Choice>>(vat.error());
    if (!payment) {
        m_context.dialogs->error(payment.error());
        m_loaded = false;
        return;
    }
    fillChoices(m_ui->inc_tva, *vat);
    fillChoices(m_ui->inc_reglement, *payment);
    if (m_inc == 0) return;

    auto place = readPlace(context.db, m_inc);
    if (!place) {
        m_context.dialogs->error(place.error());
        m_loaded = false;
        return;
    }
    m_asRead = *place;
    fill(*place);
    const QString name = place->value(QStringLiteral("destination")).toString();
    auto references = placeReferences(context.db, name);
    if (!references) {
        m_context.dialogs->error(references.error());
        m_loaded = false;
        return;
    }
    if (!references->isEmpty()) {
        m_nameLocked = true;
        m_ui->destination->setReadOnly(true);
        m_ui->destination->setToolTip(placeInUseMessage(name, *references, true));
    }
}

PlaceEditorDialog::~PlaceEditorDialog() = default;

QString PlaceEditorDialog::caption(const QString &column) const
{
    const auto *label = findChild<QLabel *>(QStringLiteral("Label_") + column);
    if (!label) {
        // The payment mode has its group's title for a label.
        if (const auto *combo = findChild<QWidget *>(column))
            if (const auto *group = qobject_cast<const QGroupBox *>(combo->parentWidget())) return group->title();
        return column;
    }
    QString text = label->text();
    if (text.endsWith(QLatin1Char(':'))) text = text.chopped(1).trimmed();
    // The two contacts have the same labels: the group tells them apart.
    if (const auto *group = qobject_cast<const QGroupBox *>(label->parentWidget());
        group && group->title().startsWith(QLatin1String("Contact")))
        text += QStringLiteral(" (%1)").arg(group->title());
    return text;
}

void PlaceEditorDialog::fill(const PlaceValues &place)
{
    for (const QString &column : textColumns())
        if (auto *field = findChild<QLineEdit *>(column)) field->setText(place.value(column).toString());
    m_ui->commentaire->setPlainText(place.value(QStringLiteral("commentaire")).toString());
    for (auto [field, column] : {std::pair{m_ui->cout_mwh, "cout_mwh"}, std::pair{m_ui->cout_tonne, "cout_tonne"}}) {
        const QVariant v = place.value(QString::fromLatin1(column));
        field->setText(v.isNull() ? QString() : formatNumber(v.toDouble(), QStringLiteral("0.##########")));
    }
    for (auto [combo, column] :
         {std::pair{m_ui->inc_tva, "inc_tva"}, std::pair{m_ui->inc_reglement, "inc_reglement"}}) {
        const QVariant v = place.value(QString::fromLatin1(column));
        combo->setCurrentIndex(v.isNull() ? -1 : combo->findData(v.toInt()));
    }
    const QString unit = place.value(QStringLiteral("unite")).toString();
    if (!unit.isEmpty() && m_ui->unite->findText(unit) < 0) m_ui->unite->addItem(unit); // kept as stored
    m_ui->unite->setCurrentIndex(unit.isEmpty() ? -1 : m_ui->unite->findText(unit));
}

bool PlaceEditorDialog::fieldValues(PlaceValues &values, QString *badField) const
{
    values.clear();
    for (const QString &column : textColumns())
        if (auto *field = findChild<QLineEdit *>(column)) values.insert(column, textOrNull(field->text()));
    values.insert(QStringLiteral("commentaire"), textOrNull(m_ui->commentaire->toPlainText()));
    values.insert(QStringLiteral("unite"), textOrNull(m_ui->unite->currentText()));
    for (auto [combo, column] : {std::pair{m_ui->inc_tva, "inc_tva"}, std::pair{m_ui->inc_reglement, "inc_reglement"}})
        values.insert(QString::fromLatin1(column),
                      combo->currentIndex() < 0 ? QVariant(QMetaType(QMetaType::Int)) : combo->currentData());
    bool allRead = true;
    for (auto [field, column, caption] : {std::tuple{m_ui->cout_mwh, "cout_mwh", "Coût MWH"},
                                          std::tuple{m_ui->cout_tonne, "cout_tonne", "Coût TONNE"}}) {
        const QString typed = field->text().trimmed();
        QVariant value{QMetaType(QMetaType::Double)};
        if (!typed.isEmpty()) {
            bool ok = false;
            const double number = parseDecimal(typed, &ok);
            if (ok) {
                value = number;
            } else if (allRead) {
                allRead = false;
                if (badField) *badField = QString::fromUtf8(caption);
            }
        }
        values.insert(QString::fromLatin1(column), value);
    }
    return allRead;
}

void PlaceEditorDialog::validate()
{
    PlaceValues values;
    QString badField;
    if (!fieldValues(values, &badField)) {
        m_context.dialogs->message(QStringLiteral("\"%1\" : ce n'est pas un nombre correct.").arg(badField));
        return;
    }
    auto refused = checkPlace(m_context.db, values, m_inc);
    if (!refused) {
        m_context.dialogs->error(refused.error());
        return;
    }
    if (!refused->isEmpty()) {
        m_context.dialogs->message(*refused);
        return;
    }
    if (m_inc == 0) {
        values.insert(QStringLiteral("stockage"), QStringLiteral("NON"));
        values.insert(QStringLiteral("tonnage_maxi"), 0.0);
        auto written = createPlace(m_context.db, values);
        if (!written) {
            m_context.dialogs->error(written.error());
            return;
        }
        m_inc = *written;
    } else {
        QList<ColumnChange> changes;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            QVariant asRead = m_asRead.value(it.key());
            QVariant value = it.value();
            // An empty field stands for both an empty text and a null: left as it was, it keeps
            // whichever the row holds.
            if (value.isNull() && asRead.typeId() == QMetaType::QString && asRead.toString().isEmpty()) value = asRead;
            changes.append({it.key(), asRead, value, caption(it.key())});
        }
        if (Status s = updatePlace(m_context.db, m_inc, changes); !s) {
            m_context.dialogs->error(s.error());
            // The fields keep what the user typed; the row is read again, so that "OK" once more
            // writes the user's values over the ones just reported.
            if (s.error().kind == ErrorKind::ChangedElsewhere)
                if (auto again = readPlace(m_context.db, m_inc)) m_asRead = *again;
            return;
        }
    }
    m_writtenName = values.value(QStringLiteral("destination")).toString();
    accept();
}

void PlaceEditorDialog::showAddressPosition()
{
    PlaceValues values;
    fieldValues(values);
    // a page that cannot be written or opened is said, not left to silence
    Status shown = [&]() -> Status {
        const auto page = writeGeocodingPage(m_context.applicationFolder, placeMapAddress(values),
                                             caption(QStringLiteral("latitude")));
        if (!page) return page.error();
        return showMapPage(m_context.applicationFolder, *page);
    }();
    if (!shown) m_context.dialogs->error(shown.error());
}

} // namespace ravelin

#include "zoneeditordialog.h"
#include "ui_zoneeditordialog.h"

#include "amountfields.h"
#include "appcontext.h"
#include "decimalentry.h"
#include "editorsave.h"
#include "geocodepage.h"
#include "mapserver.h"
#include "textlimits.h"

#include <QDesktopServices>
#include <QUrl>

namespace ravelin {

namespace {

const QStringList &textColumns()
{
    static const QStringList columns{QStringLiteral("destination"), QStringLiteral("client"),
                                     QStringLiteral("adresse"),     QStringLiteral("adresse1"),
                                     QStringLiteral("cp"),          QStringLiteral("ville"),
                                     QStringLiteral("commentaire"), QStringLiteral("latitude")};
    return columns;
}

} // namespace

ZoneEditorDialog::ZoneEditorDialog(AppContext &context, ZoneKind kind, int inc, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_stockage_buche>()), m_context(context), m_kind(kind), m_inc(inc)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("destination"));
    if (kind == ZoneKind::Chips) {
        setObjectName(QStringLiteral("detail_stockage"));
        installDecimalEntry(m_ui->tonnage_maxi);
        installDecimalEntry(m_ui->tonnage_inventaire);
    } else {
        for (QWidget *w : std::initializer_list<QWidget *>{m_ui->Label_maxi, m_ui->tonnage_maxi, m_ui->Label_maxi_unite,
                                                           m_ui->Label_inventaire, m_ui->tonnage_inventaire,
                                                           m_ui->Label_inventaire_unite, m_ui->Label_date,
                                                           m_ui->date_inventaire, m_ui->Label_date_format})
            w->hide();
    }
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ZoneEditorDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &ZoneEditorDialog::reject);
    connect(m_ui->BtnCarte, &QPushButton::clicked, this, &ZoneEditorDialog::showAddressPosition);

    if (inc > 0) {
        auto place = readPlace(context.db, inc);
        if (!place) {
            context.dialogs->error(place.error());
            return;
        }
        m_asRead = *place;
    } else {
        m_asRead = newZone(kind, context.defaultUnit());
    }
    for (const QString &column : textColumns())
        findChild<QLineEdit *>(column)->setText(m_asRead.value(column).toString());
    m_ui->tonnage_maxi->setText(fieldAmountText(m_asRead.value(QStringLiteral("tonnage_maxi"))));
    m_ui->tonnage_inventaire->setText(fieldAmountText(m_asRead.value(QStringLiteral("tonnage_inventaire"))));
    const QDate inventory = m_asRead.value(QStringLiteral("date_inventaire")).toDate();
    m_ui->date_inventaire->setText(inventory.isValid() ? inventory.toString(QStringLiteral("dd/MM/yyyy")) : QString());
    m_loaded = true;
}

ZoneEditorDialog::~ZoneEditorDialog() = default;

PlaceValues ZoneEditorDialog::edited() const
{
    PlaceValues values;
    for (const QString &column : textColumns()) {
        const QString text = findChild<QLineEdit *>(column)->text();
        values.insert(column, text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text));
    }
    if (m_kind == ZoneKind::Chips) {
        values.insert(QStringLiteral("tonnage_maxi"), fieldAmount(m_ui->tonnage_maxi));
        values.insert(QStringLiteral("tonnage_inventaire"), fieldAmount(m_ui->tonnage_inventaire));
        const QDate date = QDate::fromString(m_ui->date_inventaire->text().trimmed(), QStringLiteral("dd/MM/yyyy"));
        values.insert(QStringLiteral("date_inventaire"),
                      date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>()));
    }
    return values;
}

void ZoneEditorDialog::validate()
{
    const PlaceValues values = edited();
    const bool saved = saveFromEditor(m_context, *this, [&]() -> Status {
        if (m_inc <= 0) {
            PlaceValues all = m_asRead;
            for (auto it = values.cbegin(); it != values.cend(); ++it) all.insert(it.key(), it.value());
            auto created = createZone(m_context.db, all);
            if (!created) return created.error();
            m_inc = *created;
            m_values = all;
            return {};
        }
        QList<ColumnChange> changes;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            changes.append({it.key(), m_asRead.value(it.key()), it.value(), QString()});
        if (Status s = updateZone(m_context.db, m_inc, changes); !s) return s;
        m_values = values;
        return {};
    });
    if (saved) accept();
}

void ZoneEditorDialog::showAddressPosition()
{
    auto page = writeGeocodingPage(m_context.applicationFolder, placeMapAddress(edited()),
                                   QStringLiteral("Latitude, Longitude"));
    if (!page) {
        m_context.dialogs->error(page.error());
        return;
    }
    if (Status shown = showMapPage(m_context.applicationFolder, *page); !shown) m_context.dialogs->error(shown.error());
}

} // namespace ravelin

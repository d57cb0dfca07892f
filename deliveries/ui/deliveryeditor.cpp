#include "deliveryeditor.h"
#include "mapserver.h"
#include "ui_deliveryeditor.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "deliverycoststab.h"
#include "deliverystore.h"
#include "dialogs.h"
#include "formats.h"
#include "lotrecompute.h"
#include "namelists.h"
#include "newdeliverydialog.h"
#include "operationicons.h"
#include "placesearchdialog.h"
#include "routepage.h"
#include "textlimits.h"
#include "volumelinepicker.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

namespace ravelin {

QString editorNumberText(const QVariant &value)
{
    if (value.isNull() || !value.isValid()) return QString();
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok) return value.toString();
    QLocale locale = frenchLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(d, 'f', QLocale::FloatingPointShortest);
}

static DeliveryEditor::PefcOpener &pefcOpener()
{
    static DeliveryEditor::PefcOpener opener;
    return opener;
}

DeliveryEditor::PefcOpener DeliveryEditor::setPefcOpener(PefcOpener opener)
{
    PefcOpener previous = pefcOpener();
    pefcOpener() = std::move(opener);
    return previous;
}

DeliveryEditor::DeliveryEditor(AppContext &context, const QSqlRecord &row, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::detail_livraison>()), m_context(context), m_row(row)
{
    m_ui->setupUi(this);
    limitTextFields(this, context, QStringLiteral("livraison"),
                    {{QStringLiteral("depart_zone"), QStringLiteral("depart")},
                     {QStringLiteral("destination_client"), QStringLiteral("destination")}});
    m_inc = row.value(QStringLiteral("inc")).toInt();
    m_nLot = row.value(QStringLiteral("n_lot"));
    m_id = row.value(QStringLiteral("id"));
    m_uniteConso = row.value(QStringLiteral("unite_conso"));
    m_invoiced = row.value(QStringLiteral("facturee")).toString() == QLatin1String("OUI");

    for (QLineEdit *field :
         {m_ui->tonnage, m_ui->qte_pefc, m_ui->prix_tonne, m_ui->prix_total, m_ui->prix_mwh, m_ui->humidite, m_ui->mwh})
        installDecimalEntry(field);
    m_ui->BtnLegende->setIcon(QIcon(operationIconPixmap(QStringLiteral("VENTE"))));
    m_ui->BtnPefc->setEnabled(bool(pefcOpener()));

    fillChoices();
    loadFields();
    m_costs = new DeliveryCostsTab(context, *m_ui, row, this);
    m_costs->setTonnage([this]() -> QVariant {
        const auto tonnes = fieldNumber(m_ui->tonnage->text());
        return tonnes ? QVariant(*tonnes) : QVariant();
    });

    // the two fields of one column follow each other
    connect(m_ui->depart, &QLineEdit::textChanged, m_ui->depart_zone, [this](const QString &t) {
        if (m_ui->depart_zone->text() != t) m_ui->depart_zone->setText(t);
    });
    connect(m_ui->depart_zone, &QLineEdit::textChanged, m_ui->depart, [this](const QString &t) {
        if (m_ui->depart->text() != t) m_ui->depart->setText(t);
    });
    connect(m_ui->destination, &QLineEdit::textChanged, m_ui->destination_client, [this](const QString &t) {
        if (m_ui->destination_client->text() != t) m_ui->destination_client->setText(t);
    });
    connect(m_ui->destination_client, &QLineEdit::textChanged, m_ui->destination, [this](const QString &t) {
        if (m_ui->destination->text() != t) m_ui->destination->setText(t);
    });
    for (QLineEdit *field : {m_ui->tonnage, m_ui->qte_pefc, m_ui->prix_tonne, m_ui->prix_mwh, m_ui->humidite})
        connect(field, &QLineEdit::textChanged, this, &DeliveryEditor::fieldChanged);
    connect(m_ui->unite_mwh, &QRadioButton::toggled, this, &DeliveryEditor::fieldChanged);
    // a forecast turned into a sale must have its price computed before it is saved
    connect(m_ui->operation, &QComboBox::currentTextChanged, this, [this] {
        fieldChanged();
        applyOperationRule();
    });
    connect(m_ui->BtnLegende, &QToolButton::clicked, this, [this] { showLegend(this); });
    connect(m_ui->BtnCoupes, &QPushButton::clicked, this, &DeliveryEditor::chooseLot);
    connect(m_ui->BtnDestination, &QToolButton::clicked, this, &DeliveryEditor::chooseDestination);
    connect(m_ui->BtnDepart, &QToolButton::clicked, this, &DeliveryEditor::chooseDeparture);
    connect(m_ui->BtnCarte, &QPushButton::clicked, this, &DeliveryEditor::openRoutePage);
    connect(m_ui->BtnPefc, &QPushButton::clicked, this, [this] {
        if (pefcOpener()) pefcOpener()(this);
    });
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &DeliveryEditor::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);

    if (m_invoiced) makeReadOnly();
    m_ui->Onglets->setCurrentIndex(0);
    m_pending = 1; // the groups and the PEFC share are shown as the fields stand
    recalculate();
    activated();
    m_timer.setInterval(300);
    connect(&m_timer, &QTimer::timeout, this, &DeliveryEditor::recalculateIfPending);
    m_timer.start();
}

DeliveryEditor::~DeliveryEditor() = default;

void DeliveryEditor::fillChoices()
{
    const auto fill = [](QComboBox *box, const QStringList &items, const QString &current) {
        box->addItems(items);
        if (!current.isEmpty() && box->findText(current) < 0) box->addItem(current);
        box->setCurrentIndex(box->findText(current));
    };
    const auto text = [this](const char *c) { return m_row.value(QLatin1String(c)).toString(); };
    QStringList operations{QString()};
    operations += deliveryOperations();
    fill(m_ui->operation, operations, text("operation"));
    auto species = speciesNames(m_context.db);
    fill(m_ui->essence, species ? *species : QStringList(), text("essence"));
    auto qualities = qualityNames(m_context.db);
    fill(m_ui->qualite, qualities ? *qualities : QStringList(), text("qualite"));
    fill(m_ui->verifie, {QString(), QStringLiteral("OUI"), QStringLiteral("NON")}, text("verifie"));
}

void DeliveryEditor::loadFields()
{
    const auto text = [this](const char *c) { return m_row.value(QLatin1String(c)).toString(); };
    const auto number = [this](const char *c) { return editorNumberText(m_row.value(QLatin1String(c))); };
    m_ui->inc->setText(text("inc"));
    m_ui->inc2->setText(text("inc"));
    m_ui->n_lot->setText(text("n_lot"));
    const QDateTime when = m_row.value(QStringLiteral("date_livraison")).toDateTime();
    m_ui->date_livraison->setDate(when.isValid() ? when.date() : QDate::currentDate());
    m_ui->depart->setText(text("depart"));
    m_ui->depart_zone->setText(text("depart"));
    m_ui->destination->setText(text("destination"));
    m_ui->destination_client->setText(text("destination"));
    m_ui->transporteur_prevu->setText(text("transporteur_prevu"));
    m_ui->chargeoir->setText(text("chargeoir"));
    m_ui->lettre_voiture->setText(text("lettre_voiture"));
    m_ui->lieu_pesage->setText(text("lieu_pesage"));
    m_ui->commentaire->setPlainText(text("commentaire"));
    m_ui->ticket->setText(text("ticket"));
    m_ui->tonnage->setText(number("tonnage"));
    m_ui->qte_pefc->setText(number("qte_pefc"));
    m_ui->prix_tonne->setText(number("prix_tonne"));
    m_ui->prix_total->setText(number("prix_total"));
    m_ui->prix_mwh->setText(number("prix_mwh"));
    m_ui->humidite->setText(number("humidite"));
    m_ui->mwh->setText(number("mwh"));
    m_ui->total_mwh->setText(number("total_mwh"));
    m_ui->unite_mwh->setChecked(text("unite") == QLatin1String("MWH"));
    m_ui->unite_tonne->setChecked(text("unite") == QLatin1String("TONNE"));
    m_ui->facturee_oui->setChecked(text("facturee") == QLatin1String("OUI"));
    m_ui->facturee_non->setChecked(text("facturee") == QLatin1String("NON"));
    // the species of a lot's wood is the lot line's
    if (lotNumberOf(m_row.value(QStringLiteral("n_lot")))) m_ui->essence->setEnabled(false);
}

void DeliveryEditor::makeReadOnly()
{
    for (QWidget *field : std::initializer_list<QWidget *>{m_ui->operation,    m_ui->date_livraison,
                                                           m_ui->n_lot,        m_ui->depart,
                                                           m_ui->depart_zone,  m_ui->destination_client,
                                                           m_ui->destination,  m_ui->transporteur_prevu,
                                                           m_ui->chargeoir,    m_ui->tonnage,
                                                           m_ui->essence,      m_ui->qualite,
                                                           m_ui->ticket,       m_ui->verifie,
                                                           m_ui->Groupe_unite, m_ui->prix_tonne,
                                                           m_ui->prix_total,   m_ui->total_mwh,
                                                           m_ui->prix_mwh,     m_ui->humidite,
                                                           m_ui->mwh,          m_ui->commentaire})
        field->setEnabled(false);
    m_costs->setInvoiced(true);
}

void DeliveryEditor::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) activated();
}

void DeliveryEditor::activated()
{
    if (!m_invoiced) m_ui->operation->setEnabled(m_ui->operation->currentText() == QLatin1String("PREVISION"));
    applyOperationRule();
}

void DeliveryEditor::applyOperationRule()
{
    const bool forecast = m_ui->operation->currentText() == QLatin1String("PREVISION");
    m_ui->BtnCoupes->setVisible(forecast);
    m_ui->Onglets->setTabVisible(1, !forecast);
}

DeliveryPriceFields DeliveryEditor::priceFields() const
{
    DeliveryPriceFields f;
    f.operation = m_ui->operation->currentText();
    f.unite = m_ui->unite_mwh->isChecked()     ? QStringLiteral("MWH")
              : m_ui->unite_tonne->isChecked() ? QStringLiteral("TONNE")
                                               : QString();
    f.tonnage = m_ui->tonnage->text();
    f.qtePefc = m_ui->qte_pefc->text();
    f.humidite = m_ui->humidite->text();
    f.prixTonne = m_ui->prix_tonne->text();
    f.prixMwh = m_ui->prix_mwh->text();
    f.mwh = m_ui->mwh->text();
    f.totalMwh = m_ui->total_mwh->text();
    f.prixTotal = m_ui->prix_total->text();
    return f;
}

void DeliveryEditor::recalculateIfPending()
{
    if (m_pending > 0) recalculate();
}

void DeliveryEditor::recalculate()
{
    m_pending = 0;
    const DeliveryRecalculation r = recalculateDelivery(priceFields());
    m_ui->Label_part_pefc->setText(r.pefcLabel);
    m_ui->Groupe_unite->setVisible(r.showUnitGroup);
    if (!r.showUnitGroup) {
        m_ui->Groupe_prix_tonne->hide();
        m_ui->Groupe_prix_mwh->hide();
        return;
    }
    if (r.showTonneGroup || r.showMwhGroup) {
        m_ui->Groupe_prix_tonne->setVisible(r.showTonneGroup);
        m_ui->Groupe_prix_mwh->setVisible(r.showMwhGroup);
    }
    if (r.prixTonneEnabled && !m_invoiced) m_ui->prix_tonne->setEnabled(*r.prixTonneEnabled);
    m_ui->mwh->setText(r.fields.mwh);
    m_ui->total_mwh->setText(r.fields.totalMwh);
    m_ui->prix_total->setText(r.fields.prixTotal);
}

QVariant DeliveryEditor::textValue(const QString &column, const QString &text) const
{
    const QVariant read = m_row.value(column);
    if (read.toString() == text) return read;
    return text;
}

QVariant DeliveryEditor::numberValue(const QString &column, const QString &text) const
{
    const QVariant read = m_row.value(column);
    if (editorNumberText(read) == text) return read;
    if (text.trimmed().isEmpty()) return QVariant(QMetaType(QMetaType::Double));
    const auto number = fieldNumber(text);
    return number ? QVariant(*number) : read;
}

QVariantMap DeliveryEditor::values() const
{
    QVariantMap v;
    v.insert(QStringLiteral("operation"), textValue(QStringLiteral("operation"), m_ui->operation->currentText()));
    const QVariant readDate = m_row.value(QStringLiteral("date_livraison"));
    // the day chosen; the time of day read is kept while the day stays
    const QDate day = m_ui->date_livraison->date();
    v.insert(QStringLiteral("date_livraison"),
             readDate.toDateTime().date() == day ? readDate : QVariant(QDateTime(day, QTime(0, 0))));
    v.insert(QStringLiteral("n_lot"), m_nLot);
    v.insert(QStringLiteral("id"), m_id);
    v.insert(QStringLiteral("unite_conso"), m_uniteConso);
    QString comments = m_ui->commentaire->toPlainText();
    if (comments !=
        m_row.value(QStringLiteral("commentaire")).toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        v.insert(QStringLiteral("commentaire"), comments.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    for (const auto &[column, field] :
         std::initializer_list<std::pair<const char *, QLineEdit *>>{{"depart", m_ui->depart},
                                                                     {"destination", m_ui->destination},
                                                                     {"transporteur_prevu", m_ui->transporteur_prevu},
                                                                     {"chargeoir", m_ui->chargeoir},
                                                                     {"lettre_voiture", m_ui->lettre_voiture},
                                                                     {"lieu_pesage", m_ui->lieu_pesage},
                                                                     {"ticket", m_ui->ticket}})
        v.insert(QLatin1String(column), textValue(QLatin1String(column), field->text()));
    for (const auto &[column, box] : std::initializer_list<std::pair<const char *, QComboBox *>>{
             {"essence", m_ui->essence}, {"qualite", m_ui->qualite}, {"verifie", m_ui->verifie}})
        v.insert(QLatin1String(column), textValue(QLatin1String(column), box->currentText()));
    for (const auto &[column, field] :
         std::initializer_list<std::pair<const char *, QLineEdit *>>{{"tonnage", m_ui->tonnage},
                                                                     {"qte_pefc", m_ui->qte_pefc},
                                                                     {"prix_tonne", m_ui->prix_tonne},
                                                                     {"prix_mwh", m_ui->prix_mwh},
                                                                     {"humidite", m_ui->humidite},
                                                                     {"mwh", m_ui->mwh},
                                                                     {"total_mwh", m_ui->total_mwh},
                                                                     {"prix_total", m_ui->prix_total}})
        v.insert(QLatin1String(column), numberValue(QLatin1String(column), field->text()));
    const QString unite = m_ui->unite_mwh->isChecked()     ? QStringLiteral("MWH")
                          : m_ui->unite_tonne->isChecked() ? QStringLiteral("TONNE")
                                                           : m_row.value(QStringLiteral("unite")).toString();
    v.insert(QStringLiteral("unite"), textValue(QStringLiteral("unite"), unite));
    const QString facturee = m_ui->facturee_oui->isChecked()   ? QStringLiteral("OUI")
                             : m_ui->facturee_non->isChecked() ? QStringLiteral("NON")
                                                               : m_row.value(QStringLiteral("facturee")).toString();
    v.insert(QStringLiteral("facturee"), textValue(QStringLiteral("facturee"), facturee));
    if (m_invoiced) {
        // An invoiced delivery keeps what it was invoiced for: only the fields left open are written.
        static const QStringList open{QStringLiteral("qte_pefc"),       QStringLiteral("facturee"),
                                      QStringLiteral("lettre_voiture"), QStringLiteral("lieu_pesage"),
                                      QStringLiteral("depart"),         QStringLiteral("destination")};
        for (auto it = v.begin(); it != v.end();) it = open.contains(it.key()) ? std::next(it) : v.erase(it);
    }
    return v;
}

void DeliveryEditor::chooseLot()
{
    const auto line = pickVolumeLine(m_context, this);
    if (!line) return;
    m_nLot = line->nLot;
    m_id = line->inc;
    m_uniteConso = line->unite;
    m_ui->n_lot->setText(QString::number(line->nLot));
    m_ui->depart->setText(line->lieu);
    if (m_ui->essence->findText(line->essence) < 0) m_ui->essence->addItem(line->essence);
    m_ui->essence->setCurrentText(line->essence);
    m_ui->essence->setEnabled(false);
}

void DeliveryEditor::chooseDestination()
{
    const auto place = choosePlace(m_context, this, PlaceSelection::CustomersAndChipZones, m_ui->destination->text());
    if (!place) return;
    m_ui->destination->setText(place->value(QStringLiteral("destination")).toString());
    const QString unite = place->value(QStringLiteral("unite")).toString();
    m_ui->unite_mwh->setChecked(unite == QLatin1String("MWH"));
    m_ui->unite_tonne->setChecked(unite == QLatin1String("TONNE"));
    m_ui->prix_tonne->setText(editorNumberText(place->value(QStringLiteral("cout_tonne"))));
    m_ui->prix_mwh->setText(editorNumberText(place->value(QStringLiteral("cout_mwh"))));
    fieldChanged();
}

void DeliveryEditor::chooseDeparture()
{
    const auto place = choosePlace(m_context, this, PlaceSelection::ChipZones, m_ui->depart->text(), true);
    if (!place) return;
    m_ui->depart->setText(place->value(QStringLiteral("destination")).toString());
}

void DeliveryEditor::openRoutePage()
{
    const QString depart = m_ui->depart->text();
    const QString destination = m_ui->destination->text();
    if (depart.isEmpty()) {
        m_context.dialogs->message(noDepartureMessage());
        return;
    }
    if (destination.isEmpty()) {
        m_context.dialogs->message(noDestinationMessage());
        return;
    }
    m_ui->BtnCarte->setText(QStringLiteral("En cours..."));
    Status shown = [&]() -> Status {
        auto coef = lorryCoefficient(m_context.db);
        const double factor = lorryFactor(coef ? *coef : QVariant());
        auto ends = routeEnds(m_context.db, depart, destination);
        if (!ends) return ends.error();
        auto path = writeRoutePage(m_context.applicationFolder, *ends, factor);
        if (!path) return path.error();
        return showMapPage(m_context.applicationFolder, *path);
    }();
    m_ui->BtnCarte->setText(QStringLiteral("CARTE"));
    if (!shown) m_context.dialogs->error(shown.error());
}

void DeliveryEditor::validate()
{
    recalculateIfPending();
    if (m_ui->operation->currentText().isEmpty()) {
        m_context.dialogs->message(QStringLiteral("Vous devez saisir un type d'opération"));
        return;
    }
    if (!saveFromEditor(m_context, *this, m_save)) return;
    accept();
}

} // namespace ravelin

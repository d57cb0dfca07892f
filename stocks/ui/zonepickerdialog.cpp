#include "zonepickerdialog.h"
#include "ui_zonepickerdialog.h"

#include "appcontext.h"
#include "listgrid.h"
#include "modal.h"
#include "zones.h"

namespace ravelin {

ZonePickerDialog::ZonePickerDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::liste_stock_buche>()), m_context(context)
{
    m_ui->setupUi(this);
    ListDeclaration zones;
    zones.screen = QStringLiteral("liste_stock_buche");
    zones.columns = {{QStringLiteral("inc"), QStringLiteral("inc"), QString(), 60},
                     {QStringLiteral("destination"), QStringLiteral("destination"), QString(), 200},
                     {QStringLiteral("client"), QStringLiteral("client"), QString(), 200}};
    zones.key = QStringLiteral("inc");
    zones.counter = m_ui->Label_nb;
    m_list = new ListGrid(context, m_ui->Grille_zones, zones);
    connect(m_ui->rechercher, &QPushButton::clicked, this, &ZonePickerDialog::search);
    for (QRadioButton *sort : {m_ui->tri_lieu, m_ui->tri_numero})
        connect(sort, &QRadioButton::toggled, this, [this](bool on) {
            if (on) search();
        });
    connect(m_ui->Grille_zones, &QAbstractItemView::doubleClicked, this, &ZonePickerDialog::validate);
    connect(m_ui->BtnOK, &QPushButton::clicked, this, &ZonePickerDialog::validate);
    connect(m_ui->BtnAnnuler, &QPushButton::clicked, this, &ZonePickerDialog::reject);
    search();
}

ZonePickerDialog::~ZonePickerDialog() = default;

void ZonePickerDialog::search()
{
    if (Status s = m_list->setQuery(m_context.db, firewoodZonePickerQuery(m_ui->tri_numero->isChecked())); !s)
        m_context.dialogs->error(s.error());
}

QString ZonePickerDialog::chosenZone() const
{
    return m_list->currentValue(QStringLiteral("destination")).toString();
}

void ZonePickerDialog::validate()
{
    if (m_list->currentRow() < 0) {
        m_context.dialogs->message(noRecordMessage());
        return;
    }
    accept();
}

std::optional<QString> pickFirewoodZone(AppContext &context, QWidget *parent)
{
    ZonePickerDialog picker(context, parent);
    if (runModal(picker) != QDialog::Accepted) return std::nullopt;
    return picker.chosenZone();
}

} // namespace ravelin

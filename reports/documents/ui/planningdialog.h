#pragma once

#include "datatable.h"
#include "transportplanning.h"

#include <QDate>
#include <QDialog>

#include <memory>
#include <optional>

class QStandardItemModel;

namespace Ui {
class planning;
}

namespace ravelin {

struct AppContext;

// The transport planning screen (planning): a period, the planned carriers of that period, and
// the planning of one carrier or of all, day by day; "Imprimer" shows it in imp_planning.
class PlanningDialog : public QDialog
{
    Q_OBJECT

public:
    // `today` decides the week proposed.
    PlanningDialog(AppContext &context, const QDate &today = QDate::currentDate(), QWidget *parent = nullptr);
    ~PlanningDialog() override;

    Ui::planning *ui() const { return m_ui.get(); }
    PlanningPeriod period() const;

public slots:
    // "Liste des Transporteur prévus".
    void listCarriers();
    // The planning of the current carrier, or of all when the box is ticked.
    void rebuild();
    // "Imprimer".
    void print();

private:
    void carrierChanged();
    // No carrier: every carrier.
    void rebuildFor(const std::optional<QString> &carrier);
    void showPlanning(const DataTable &rows);
    QString currentCarrier() const;

    AppContext &m_context;
    std::unique_ptr<Ui::planning> m_ui;
    QStandardItemModel *m_carriers = nullptr;
    QStandardItemModel *m_planning = nullptr;
    DataTable m_rows;
};

// The menu's way in.
void openTransportPlanning(AppContext &context, QWidget *parent);

} // namespace ravelin

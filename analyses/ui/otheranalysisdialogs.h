#pragma once

#include "otheranalyses.h"

#include <QDialog>

#include <memory>

namespace Ui {
class analyse_cvo;
class analyse_PEFC_coupe;
class Graphique_lieu_pesage;
} // namespace Ui

namespace ravelin {

struct AppContext;
class AnalysisProgress;
class AnalysisRunner;
class ListGrid;

// analyse_cvo: the lots bought between two dates that carry a CVO levy, their total, the printout
// (read and laid out on the screen's worker).
class CvoDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CvoDialog(AppContext &context, QWidget *parent = nullptr);
    ~CvoDialog() override;

    Ui::analyse_cvo *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    AnalysisRunner &runner() const { return *m_runner; }

public slots:
    void compute();
    void print();

private:
    void showTotal();

    std::unique_ptr<Ui::analyse_cvo> m_ui;
    AppContext &m_context;
    AnalysisRunner *m_runner;
    AnalysisProgress *m_progress;
    ListGrid *m_list;
    QDate m_start;
    QDate m_end;
    PagedQuery m_query;
    bool m_computed = false;
};

// analyse_PEFC_coupe: the PEFC share of the twelve months up to `today`, computed at opening and
// on "Caclul par mois du % PEFC".
class PefcDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PefcDialog(AppContext &context, QWidget *parent = nullptr, const QDate &today = QDate::currentDate());
    ~PefcDialog() override;

    Ui::analyse_PEFC_coupe *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    AnalysisRunner &runner() const { return *m_runner; }

public slots:
    void compute();

private:
    std::unique_ptr<Ui::analyse_PEFC_coupe> m_ui;
    AppContext &m_context;
    AnalysisRunner *m_runner;
    AnalysisProgress *m_progress;
    ListGrid *m_list;
    QDate m_today;
};

// Graphique_lieu_pesage: deliveries per weighing place between two dates, and the deliveries of
// the selected place.
class WeighingPlacesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit WeighingPlacesDialog(AppContext &context, QWidget *parent = nullptr);
    ~WeighingPlacesDialog() override;

    Ui::Graphique_lieu_pesage *ui() const { return m_ui.get(); }
    ListGrid *places() const { return m_places; }
    ListGrid *deliveries() const { return m_deliveries; }
    AnalysisRunner &runner() const { return *m_runner; }

public slots:
    void compute();

private:
    void showPlace();

    std::unique_ptr<Ui::Graphique_lieu_pesage> m_ui;
    AppContext &m_context;
    AnalysisRunner *m_runner;
    AnalysisProgress *m_progress;
    ListGrid *m_places;
    ListGrid *m_deliveries;
    QDate m_start;
    QDate m_end;
    bool m_fillingPlaces = false;
};

void openCvo(AppContext &context, QWidget *parent = nullptr);
void openPefc(AppContext &context, QWidget *parent = nullptr);
void openWeighingPlaces(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin

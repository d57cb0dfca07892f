#pragma once

#include "chartdata.h"

#include <QFrame>
#include <QTimer>

class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;

namespace ravelin {

class AnalysisRunner;
class ChartWidget;
class Dialogs;

// "Date début ( incluse )" and "Date fin ( incluse )" as every analysis opens them: today minus 30
// days and today.
void startLastThirtyDays(QDateEdit *start, QDateEdit *end);

// A chart filling a form's placeholder; "Enregistrer l'image…" asks through `dialogs`.
ChartWidget *placeChart(QWidget *zone, const ChartOptions &options, Dialogs *dialogs);
ChartOptions redBars();
ChartOptions pieWithShares();

// The progress panel of an analysis: shown once a computation has run for 100 ms, advanced after
// each step, with "Annuler", which stops the computation at once. A cancelled computation shows
// "Calcul interrompu" in the screen's state label.
class AnalysisProgress : public QFrame
{
    Q_OBJECT
public:
    AnalysisProgress(AnalysisRunner &runner, QLabel *state, QWidget *zone);

    QPushButton *cancelButton() const { return m_cancel; }
    QProgressBar *bar() const { return m_bar; }

private:
    AnalysisRunner &m_runner;
    QLabel *m_state;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    QTimer m_delay;
};

inline QString interruptedText()
{
    return QStringLiteral("Calcul interrompu");
}

} // namespace ravelin

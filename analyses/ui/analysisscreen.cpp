#include "analysisscreen.h"

#include "analysisrunner.h"
#include "chartwidget.h"

#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravelin {

void startLastThirtyDays(QDateEdit *start, QDateEdit *end)
{
    const QDate today = QDate::currentDate();
    start->setDate(today.addDays(-30));
    end->setDate(today);
}

ChartWidget *placeChart(QWidget *zone, const ChartOptions &options, Dialogs *dialogs)
{
    auto *chart = new ChartWidget(zone);
    chart->setDialogs(dialogs);
    auto *layout = new QVBoxLayout(zone);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(chart);
    chart->setOptions(options);
    return chart;
}

ChartOptions redBars()
{
    ChartOptions options;
    options.kind = ChartKind::Bar;
    options.marks = ChartMarks::Value;
    return options;
}

ChartOptions pieWithShares()
{
    ChartOptions options;
    options.kind = ChartKind::Pie;
    options.marks = ChartMarks::LabelAndPercent;
    options.otherBelowPercent = 3;
    return options;
}

AnalysisProgress::AnalysisProgress(AnalysisRunner &runner, QLabel *state, QWidget *zone)
    : QFrame(zone), m_runner(runner), m_state(state), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Annuler"), this))
{
    setObjectName(QStringLiteral("Panel_calcul"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Calcul en cours…"), this));
    row->addWidget(m_bar, 1);
    row->addWidget(m_cancel);
    auto *outer = new QVBoxLayout(zone);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);
    hide();
    m_delay.setSingleShot(true);
    m_delay.setInterval(100);
    connect(&m_delay, &QTimer::timeout, this, [this] {
        if (m_runner.isBusy()) show();
    });
    connect(&runner, &AnalysisRunner::started, this, [this](int steps) {
        m_bar->setRange(0, qMax(1, steps));
        m_bar->setValue(0);
        if (m_state) m_state->clear();
        m_delay.start();
    });
    connect(&runner, &AnalysisRunner::progressed, this, [this](int done, int) { m_bar->setValue(done); });
    connect(&runner, &AnalysisRunner::finished, this, [this] {
        m_delay.stop();
        hide();
    });
    connect(&runner, &AnalysisRunner::cancelled, this, [this] {
        m_delay.stop();
        hide();
        if (m_state) m_state->setText(interruptedText());
    });
    connect(m_cancel, &QPushButton::clicked, &runner, &AnalysisRunner::cancel);
}

} // namespace ravelin

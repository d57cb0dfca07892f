#pragma once

#include "lotrecompute.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QWidget>

class QLabel;
class QScrollBar;

namespace ravelin {

struct AppContext;

// One text of the progress picture as it was drawn: its top-left corner (or, right-aligned, the x
// it ends on), colours and size. Kept beside the picture so that a reader (or a test) finds what
// the user sees.
struct ChartText
{
    QString text;
    QPoint at;
    QColor colour;
    QColor background; // invalid: transparent
    int pointSize = 10;
    bool rightAligned = false;
};

struct ProgressPicture
{
    QImage image;
    QList<ChartText> texts;
    int scrollMaximum = 0; // number of lines x 100 + 1; 0 without lines
};

// The picture of a lot's progress, `width` pixels wide, on the blue of the lot tab: one block of
// 180 pixels per volume line (species and quality, total, available and delivered, the grey box
// with a tree and the standing, felled and skidded quantities, what left by each road, the felled
// and skidded gauges), then the lot's comments line by line. Without volume lines, a blue area of
// `emptyHeight`.
ProgressPicture renderProgressChart(const LotProgress &progress, int width, int emptyHeight = 200);

// The lot tab's progress chart with its scroll bar: showLot() reads and draws the lot; the
// scroll bar shifts the picture up. Resizing redraws at the new width without reading again.
class ProgressChart : public QWidget
{
    Q_OBJECT
public:
    explicit ProgressChart(AppContext &context, QWidget *parent = nullptr);
    ~ProgressChart() override;

    const ProgressPicture &picture() const { return m_picture; }
    QScrollBar *scrollBar() const { return m_scroll; }
    int lot() const { return m_nLot; }

public slots:
    // Reads the lot's volume lines and comments and draws them; 0 or less shows the empty area.
    void showLot(int nLot);
    // Shows the empty blue area.
    void clear();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class Canvas;
    void render();

    AppContext &m_context;
    Canvas *m_canvas;
    QScrollBar *m_scroll;
    int m_nLot = 0;
    LotProgress m_progress;
    ProgressPicture m_picture;
};

// Makes `label` (the main window's Label_recalcul) show the text of a lot recomputation while
// it runs and hide when it ends. Gives the handler that was installed before.
RecomputeProgressHandler showRecomputeProgressIn(QLabel *label);

} // namespace ravelin

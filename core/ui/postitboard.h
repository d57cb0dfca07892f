#pragma once

#include "postits.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QFrame;
class QLabel;
class QTimer;
class QWidget;

namespace ravelin {

struct AppContext;

// The signed-in user's notes, stuck on the main window. Each tick of the post-it timer sends one
// statement (count and checksum); only a change rebuilds the notes, reading those that fit the
// window, and brings the program to the front. Closing a note deletes it and checks again 200 ms
// later.
class PostitBoard : public QObject
{
    Q_OBJECT
public:
    // `random(n)` gives 0 … n−1: the notes' offsets and pictures (tests give a seeded one).
    using Random = std::function<int(int)>;
    PostitBoard(AppContext &context, QWidget *window, QTimer *timer, Random random = {});
    ~PostitBoard() override;

    // The notes shown, oldest first, and the "Reste n Post-it à lire..." panel (null when none).
    const QList<QFrame *> &notes() const { return m_panels; }
    QLabel *remainder() const { return m_remainder; }
    int rebuilds() const { return m_rebuilds; }
    // The close image of note `index`.
    QWidget *closeButton(int index) const;

    // Where the notes go in a window of that size, as many as fit of `count`; the rest are
    // counted. `random` as above.
    struct Layout
    {
        QList<QPoint> positions;
        int hidden = 0;
    };
    static Layout layOut(int count, int width, int height, const Random &random);
    // How many notes a window of that height shows at most, whatever the random offsets.
    static int mostShown(int height);

public slots:
    // One tick: the timer is stopped while it runs, and started again at its end.
    void check();

private:
    void rebuild(const PostitState &state);
    void clear();
    void remove(int index);
    void bringToFront();

    AppContext &m_context;
    QPointer<QWidget> m_window;
    QTimer *m_timer;
    Random m_random;
    PostitState m_shownState;
    bool m_shownOnce = false;
    QList<PostitNote> m_notes;
    QList<QFrame *> m_panels;
    QLabel *m_remainder = nullptr;
    int m_rebuilds = 0;
};

} // namespace ravelin

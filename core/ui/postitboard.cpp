#include "postitboard.h"

#include "appcontext.h"
#include "dialogs.h"
#include "platform.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace ravelin {

namespace {

constexpr int noteWidth = 215;
constexpr int noteHeight = 217;

// The two note pictures: a yellow note and a pink one, with a darker fold in the corner.
QPixmap notePicture(int kind)
{
    QPixmap picture(noteWidth, noteHeight);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    const QColor paper = kind == 0 ? QColor(0xF9, 0xF9, 0x62) : QColor(0xFF, 0xB3, 0xD1);
    QPolygon sheet;
    sheet << QPoint(0, 0) << QPoint(noteWidth - 1, 0) << QPoint(noteWidth - 1, noteHeight - 31)
          << QPoint(noteWidth - 31, noteHeight - 1) << QPoint(0, noteHeight - 1);
    p.setPen(paper.darker(130));
    p.setBrush(paper);
    p.drawPolygon(sheet);
    QPolygon fold;
    fold << QPoint(noteWidth - 1, noteHeight - 31) << QPoint(noteWidth - 31, noteHeight - 31)
         << QPoint(noteWidth - 31, noteHeight - 1);
    p.setBrush(paper.darker(120));
    p.drawPolygon(fold);
    return picture;
}

QPixmap closePicture()
{
    QPixmap picture(41, 41);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x90, 0x10, 0x10), 2));
    p.setBrush(QColor(0xE0, 0x30, 0x30));
    p.drawEllipse(QRectF(4, 4, 33, 33));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 14), QPointF(27, 27));
    p.drawLine(QPointF(27, 14), QPointF(14, 27));
    return picture;
}

} // namespace

PostitBoard::PostitBoard(AppContext &context, QWidget *window, QTimer *timer, Random random)
    : QObject(window), m_context(context), m_window(window), m_timer(timer), m_random(std::move(random))
{
    if (!m_random) m_random = [](int n) { return int(QRandomGenerator::global()->bounded(n)); };
    // Without it Windows only flashes the taskbar button when the program asks to come forward.
    allowWindowActivation();
}

PostitBoard::~PostitBoard() = default;

QWidget *PostitBoard::closeButton(int index) const
{
    if (index < 0 || index >= m_panels.size()) return nullptr;
    return m_panels[index]->findChild<QToolButton *>(QStringLiteral("Fermer_postit"));
}

int PostitBoard::mostShown(int height)
{
    // every next note 226 pixels lower at least; the first is always shown
    int shown = 1;
    for (int top = 120 + 226; top <= height - 450; top += 226) ++shown;
    return shown;
}

PostitBoard::Layout PostitBoard::layOut(int count, int width, int height, const Random &random)
{
    Layout layout;
    int top = 120;
    int left = width - 250;
    bool full = false;
    for (int i = 0; i < count; ++i) {
        if (full) {
            ++layout.hidden;
            continue;
        }
        layout.positions.append(QPoint(qMax(left, 1), qMax(top, 1)));
        top += 226;
        left = width - 250 - random(40);
        if (left < 400) {
            left = width - 240;
            top += 290;
        }
        if (top > height - 450) full = true;
    }
    return layout;
}

void PostitBoard::check()
{
    if (!m_window) return;
    m_timer->stop();
    // errors are not shown: the next tick tries again
    if (auto state = postitState(m_context.db, m_context.user()); state) {
        if (!m_shownOnce || !(*state == m_shownState)) rebuild(*state);
    }
    m_timer->start();
}

void PostitBoard::clear()
{
    qDeleteAll(m_panels);
    m_panels.clear();
    delete m_remainder;
    m_remainder = nullptr;
    m_notes.clear();
}

void PostitBoard::rebuild(const PostitState &state)
{
    const int width = m_window->width();
    const int height = m_window->height();
    auto notes = readPostits(m_context.db, m_context.user(), qMin(state.count, mostShown(height)));
    if (!notes) return;
    clear();
    m_shownState = state;
    m_shownOnce = true;
    ++m_rebuilds;
    m_notes = *notes;
    const Layout layout = layOut(int(m_notes.size()), width, height, m_random);
    m_notes = m_notes.mid(0, layout.positions.size());
    const int hidden = state.count - int(m_notes.size());

    QFont headerFont = m_window->font();
    headerFont.setPixelSize(13);
    QFont messageFont = m_window->font();
    messageFont.setPixelSize(16);
    messageFont.setBold(true);
    for (int i = 0; i < m_notes.size(); ++i) {
        const PostitNote &note = m_notes[i];
        auto *panel = new QFrame(m_window);
        panel->setObjectName(QStringLiteral("Postit%1").arg(i + 1));
        panel->setGeometry(QRect(layout.positions[i], QSize(noteWidth, noteHeight)));
        auto *picture = new QLabel(panel);
        picture->setObjectName(QStringLiteral("Image_postit"));
        // the second picture one time in three
        picture->setPixmap(notePicture(m_random(3) == 0 ? 1 : 0));
        picture->setGeometry(0, 0, noteWidth, noteHeight);
        auto *header = new QLabel(panel);
        header->setObjectName(QStringLiteral("Entete_postit"));
        header->setFont(headerFont);
        header->setTextFormat(Qt::PlainText);
        header->setText(note.datePostit.toString() + QLatin1Char('\n') + QStringLiteral("De : ") +
                        note.origine.toString());
        header->setGeometry(10, 10, 160, 40);
        auto *message = new QLabel(panel);
        message->setObjectName(QStringLiteral("Message_postit"));
        message->setFont(messageFont);
        message->setTextFormat(Qt::PlainText);
        message->setWordWrap(true);
        message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        message->setText(note.lines().join(QLatin1Char('\n')).trimmed());
        message->setGeometry(10, 55, noteWidth - 20, noteHeight - 90);
        auto *close = new QToolButton(panel);
        close->setObjectName(QStringLiteral("Fermer_postit"));
        close->setAutoRaise(true);
        close->setIcon(QIcon(closePicture()));
        close->setIconSize(QSize(41, 41));
        close->setGeometry(173, 8, 41, 41);
        close->setToolTip(QStringLiteral("Supprimer ce Post-it"));
        connect(close, &QToolButton::clicked, this, [this, i] { remove(i); });
        panel->show();
        panel->raise();
        m_panels.append(panel);
    }
    if (hidden > 0) {
        m_remainder = new QLabel(m_window);
        m_remainder->setObjectName(QStringLiteral("Reste_postit"));
        m_remainder->setAutoFillBackground(true);
        QPalette palette = m_remainder->palette();
        palette.setColor(QPalette::Window, Qt::black);
        palette.setColor(QPalette::WindowText, Qt::white);
        m_remainder->setPalette(palette);
        m_remainder->setGeometry(width - 200, height - 250, 120, 30);
        m_remainder->setText(QStringLiteral("Reste ") + QString::number(hidden) + QStringLiteral(" Post-it à lire..."));
        m_remainder->show();
        m_remainder->raise();
    }
    m_window->update();
    if (!m_notes.isEmpty()) bringToFront();
}

void PostitBoard::bringToFront()
{
    if (m_window->isMinimized()) m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->raise();
    m_window->activateWindow();
    // where the window system refuses the focus (Wayland, some X11 managers), the taskbar says it
    QApplication::alert(m_window);
}

void PostitBoard::remove(int index)
{
    if (index < 0 || index >= m_notes.size()) return;
    // a note already gone (closed on another workstation) needs nothing more
    if (Status removed = removePostit(m_context.db, m_notes[index]); !removed) {
        m_context.dialogs->error(removed.error());
        return;
    }
    m_panels[index]->hide();
    m_timer->start(200);
}

} // namespace ravelin

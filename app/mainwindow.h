#pragma once

#include "version.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QTimer;

namespace Ui {
class Main;
}

namespace ravelin {

struct AppContext;
class MainTab;

// Main: the top band with the clock and its three buttons, the menu bar, the four tabs and the
// status bar. Every other screen is opened from here, modally.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum Tab { LotsTab = 0, OrdersTab, ChipsTab, ContractorsTab };

    static QString versionText() { return programVersion(); }
    static QString buildText() { return programBuild(); }

    explicit MainWindow(AppContext &context, QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui::Main *ui() const { return m_ui.get(); }
    AppContext &context() const { return m_context; }

    // The status bar's five panels, 1 to 5.
    QLabel *statusPanel(int number) const { return m_panels.at(number - 1); }
    QString titleText() const { return m_title; }
    bool started() const { return m_started; }
    // True once the program was told to end (sign-in refused...).
    bool ended() const { return m_ended; }

    // Puts a tab's content in place; the tab then searches and refreshes as it is shown.
    void setTabContent(Tab tab, QWidget *content, MainTab *behaviour);

    // Makes a menu entry or a top-band button (named by its caption) open a screen. Entries
    // without a screen stay disabled. A caption that names no entry stops the program.
    void setOpener(const QString &caption, std::function<void()> opener);
    // The captions of the entries and buttons that open something, in order.
    QStringList installedEntries() const;
    QAction *menuAction(const QString &caption) const;
    // Runs a menu entry as a click would: the rights check of its page, then its screen.
    void trigger(const QString &caption);

    // The first time the window becomes active: sign-in, "General" check, timers, first search.
    void firstActivation();
    // One tick of the title timer: scroll the caption, update the clock.
    void tickTitle();

    QTimer *titleTimer() const { return m_titleTimer; }
    QTimer *postitTimer() const { return m_postitTimer; }
    QTimer *chartTimer() const { return m_chartTimer; }

signals:
    // The program must end with this exit code.
    void endRequested(int code);
    // Timer hooks for the subsystems: post-it check, chart redraw.
    void postitTick();
    void chartTick();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct Entry
    {
        QString page; // empty: no rights check
        QAction *action = nullptr;
        QWidget *button = nullptr;
        std::function<void()> opener;
    };

    void buildMenus();
    void addEntry(QMenu *menu, const QString &caption, const QString &page);
    void addButton(QWidget *button, const QString &page);
    void tabShown(int index);
    void endProgram(int code);
    void setBandColour(int index);
    void updateClock();

    std::unique_ptr<Ui::Main> m_ui;
    AppContext &m_context;
    std::array<QLabel *, 5> m_panels{};
    std::array<MainTab *, 4> m_tabs{};
    QHash<QString, Entry> m_entries;
    QString m_title;
    bool m_started = false;
    bool m_ended = false;
    QTimer *m_titleTimer;
    QTimer *m_postitTimer;
    QTimer *m_chartTimer;
};

} // namespace ravelin

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "appcontext.h"
#include "formats.h"
#include "gridmodel.h"
#include "maintab.h"
#include "modal.h"
#include "screens.h"
#include "signindialog.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

namespace ravelin {

MainWindow::MainWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::Main>()), m_context(context), m_titleTimer(new QTimer(this)),
      m_postitTimer(new QTimer(this)), m_chartTimer(new QTimer(this))
{
    m_ui->setupUi(this);

    const std::array<int, 5> widths{150, 200, 300, 300, 50};
    for (int i = 0; i < 5; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setFixedWidth(widths[i]);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        statusBar()->addWidget(m_panels[i]);
    }
    m_panels[0]->setText(QStringLiteral("Version ") + versionText() + QStringLiteral(" (") + buildText() +
                         QLatin1Char(')'));
    m_panels[3]->setText(context.settings.value(QStringLiteral("nom")).toString());

    m_title =
        QStringLiteral("Ravelin - version ") + versionText() + QStringLiteral(" (") + buildText() + QLatin1Char(')');
    setWindowTitle(m_title);

    m_titleTimer->setInterval(100);
    connect(m_titleTimer, &QTimer::timeout, this, &MainWindow::tickTitle);
    // The post-it check first runs after one second, then every fifteen.
    m_postitTimer->setInterval(1000);
    connect(m_postitTimer, &QTimer::timeout, this, [this] {
        m_postitTimer->setInterval(15000);
        emit postitTick();
    });
    m_chartTimer->setSingleShot(true);
    m_chartTimer->setInterval(50);
    connect(m_chartTimer, &QTimer::timeout, this, &MainWindow::chartTick);

    buildMenus();
    connect(m_ui->PageControl1, &QTabWidget::currentChanged, this, &MainWindow::tabShown);
    m_ui->PageControl1->setCurrentWidget(m_ui->Tab_detail);
    setBandColour(LotsTab);
    updateClock();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&Fichier"));
    addEntry(file, QStringLiteral("&Gestion des mots de passes"), QStringLiteral("Gestion des mots de passes"));
    addEntry(file, QStringLiteral("Paramètres Logiciel"), QStringLiteral("Parametrage"));
    addEntry(file, QStringLiteral("Liste des clients"), QStringLiteral("Liste destination"));
    addEntry(file, QStringLiteral("Liste familles pour les Intervenants"), QStringLiteral("Famille intervenant"));
    file->addSeparator();
    addEntry(file, QStringLiteral("Liste zone de stockage Plaquettes"), QStringLiteral("Liste stockage"));
    addEntry(file, QStringLiteral("Liste zone de stockage Bûches"), QStringLiteral("Liste stockage"));
    file->addSeparator();
    addEntry(file, QStringLiteral("Liste Essences de bois"), QStringLiteral("Creer essence qualite classe"));
    addEntry(file, QStringLiteral("Liste Qualités de bois"), QStringLiteral("Creer essence qualite classe"));
    addEntry(file, QStringLiteral("Liste Classes de bois"), QStringLiteral("Creer essence qualite classe"));
    addEntry(file, QStringLiteral("Liste coefficients de transformation"),
             QStringLiteral("Creer essence qualite classe"));
    addEntry(file, QStringLiteral("Liste des acheteurs (coupes de bois )"), QStringLiteral("Parametrage"));
    addEntry(file, QStringLiteral("Lister TVA"), QStringLiteral("Creer TVA"));
    addEntry(file, QStringLiteral("Liste mode de règlement"), QStringLiteral("Creer mode de reglement"));
    file->addSeparator();
    addEntry(file, QStringLiteral("&Quitter"), QString());

    QMenu *planning = bar->addMenu(QStringLiteral("Planning Plaquettes"));
    addEntry(planning, QStringLiteral("Planning transport Plaquette"), QStringLiteral("Planning"));

    QMenu *stocks = bar->addMenu(QStringLiteral("&Stocks"));
    addEntry(stocks, QStringLiteral("Stockages Plaquettes"), QStringLiteral("Stock"));
    addEntry(stocks, QStringLiteral("Stockages Bûches"), QStringLiteral("Stock"));
    addEntry(stocks, QStringLiteral("Transfert Vers Stocks Bûches"), QStringLiteral("Creer transfert"));

    QMenu *invoicing = bar->addMenu(QStringLiteral("Facturation"));
    addEntry(invoicing, QStringLiteral("Liste des Factures"), QStringLiteral("Creer facture"));

    QMenu *analyses = bar->addMenu(QStringLiteral("&Analyses"));
    addEntry(analyses, QStringLiteral("Analyse livraisons CLIENTS ( date à date )"), QStringLiteral("Analyse"));
    addEntry(analyses, QStringLiteral("Analyse Coûts INTERVENANTS ( date à date )"), QStringLiteral("Analyse"));
    addEntry(analyses, QStringLiteral("Analyse CVO"), QStringLiteral("Analyse"));
    addEntry(analyses, QStringLiteral("Analyse % PEFC dans les COUPES de BOIS"), QStringLiteral("Analyse"));
    addEntry(analyses, QStringLiteral("Analyse Lieu de pesage ( date à date )"), QStringLiteral("Analyse"));

    QMenu *products = bar->addMenu(QStringLiteral("Info Produits"));
    addEntry(products, QStringLiteral("Produits disponibles sur Coupe de Bois"), QStringLiteral("Liste stockage"));
    addEntry(products, QStringLiteral("Produits disponibles sur STOCKS (Grumes/Bûches)"), QString());
    addEntry(products, QStringLiteral("Info n° Grumes"), QStringLiteral("Liste stockage"));

    QMenu *about = bar->addMenu(QStringLiteral("A propos"));
    addEntry(about, QStringLiteral("A propos"), QString());

    addButton(m_ui->BtnStockGrumes, QStringLiteral("Stock"));
    addButton(m_ui->BtnStockPlaqu, QStringLiteral("Stock"));
    addButton(m_ui->BtnPostit, QStringLiteral("Post it"));

    setOpener(QStringLiteral("&Quitter"), [this] { close(); });
    setOpener(QStringLiteral("A propos"), [this] {
        m_context.dialogs->message(
            QStringLiteral("Ravelin\nVersion %1 (%2)\nQt %3\nPoste %4")
                .arg(versionText(), buildText(), QString::fromLatin1(qVersion()), QSysInfo::machineHostName()),
            QStringLiteral("A propos"));
    });
    installScreens(*this, m_context);
}

void MainWindow::addEntry(QMenu *menu, const QString &caption, const QString &page)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(caption);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, caption] { trigger(caption); });
    m_entries.insert(caption, Entry{page, action, nullptr, {}});
}

void MainWindow::addButton(QWidget *button, const QString &page)
{
    auto *push = qobject_cast<QPushButton *>(button);
    const QString caption = push->text();
    button->setEnabled(false);
    connect(push, &QPushButton::clicked, this, [this, caption] { trigger(caption); });
    m_entries.insert(caption, Entry{page, nullptr, button, {}});
}

void MainWindow::setOpener(const QString &caption, std::function<void()> opener)
{
    auto it = m_entries.find(caption);
    // A screen wired to a caption the menus do not have would never open: a programming error that
    // must not wait for a user to notice the missing entry.
    if (it == m_entries.end()) qFatal("MainWindow::setOpener: no menu entry or button \"%s\"", qUtf8Printable(caption));
    it->opener = std::move(opener);
    if (it->action) it->action->setEnabled(bool(it->opener));
    if (it->button) it->button->setEnabled(bool(it->opener));
}

QStringList MainWindow::installedEntries() const
{
    QStringList captions;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        if (it->opener) captions << it.key();
    captions.sort();
    return captions;
}

QAction *MainWindow::menuAction(const QString &caption) const
{
    return m_entries.value(caption).action;
}

void MainWindow::trigger(const QString &caption)
{
    const auto it = m_entries.constFind(caption);
    if (it == m_entries.cend() || !it->opener) return;
    if (!it->page.isEmpty() && !m_context.require(it->page)) return;
    it->opener();
}

void MainWindow::setTabContent(Tab tab, QWidget *content, MainTab *behaviour)
{
    QWidget *page = m_ui->PageControl1->widget(tab);
    page->layout()->addWidget(content);
    m_tabs[tab] = behaviour;
}

void MainWindow::setBandColour(int index)
{
    static const std::array<const char *, 4> colours{"0080C0", "808080", nullptr, "949494"};
    if (index < 0 || index > 3 || !colours[index]) return;
    QPalette p = m_ui->Panel_haut->palette();
    p.setColor(QPalette::Window, rgb(QString::fromLatin1(colours[index])));
    m_ui->Panel_haut->setPalette(p);
}

void MainWindow::tabShown(int index)
{
    setBandColour(index);
    if (index < 0 || index > 3 || !m_tabs[index]) return;
    MainTab *tab = m_tabs[index];
    if (!m_started) return;
    if (!tab->searched()) tab->search();
    else tab->refresh();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Without a window manager the window never becomes active: sign in once it is shown.
    if (!m_started) QTimer::singleShot(0, this, &MainWindow::firstActivation);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_started)
        QTimer::singleShot(0, this, &MainWindow::firstActivation);
}

void MainWindow::firstActivation()
{
    if (m_started || m_ended) return;
    m_started = true; // guards against a second activation while signing in
    showMaximized();

    auto rights = Rights::load(m_context.db);
    if (!rights) {
        m_context.dialogs->error(rights.error());
        endProgram(1);
        return;
    }
    m_context.rights = *rights;

    SignInDialog signIn(m_context.db, *m_context.dialogs, this);
    connect(&signIn, &SignInDialog::userPanelChanged, m_panels[2], &QLabel::setText);
    runModal(signIn);
    m_context.rights.setUser(m_panels[2]->text());

    if (!m_context.require(QStringLiteral("General"))) {
        endProgram(1);
        return;
    }
    m_postitTimer->start();
    m_titleTimer->start();
    if (m_tabs[LotsTab]) m_tabs[LotsTab]->search();
    m_chartTimer->start();
}

void MainWindow::tickTitle()
{
    setWindowTitle(m_title);
    if (!m_title.isEmpty()) m_title = m_title.mid(1) + m_title.left(1);
    updateClock();
}

void MainWindow::updateClock()
{
    m_ui->Label_heure->setText(
        formatDateTime(QDateTime::currentDateTime(), QStringLiteral("dddd dd mmmm yyyy   hh:nn:ss")));
}

void MainWindow::endProgram(int code)
{
    m_ended = true;
    m_titleTimer->stop();
    m_postitTimer->stop();
    emit endRequested(code);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_postitTimer->stop();
    m_titleTimer->stop();
    m_chartTimer->stop();
    if (m_context.db.isOpen()) m_context.db.close();
    event->accept();
}

} // namespace ravelin

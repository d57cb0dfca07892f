#include "appcontext.h"
#include "database.h"
#include "formats.h"
#include "mainwindow.h"
#include "messageboxdialogs.h"
#include "paths.h"
#include "platform.h"
#include "startup.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDesktopServices>
#include <QDir>
#include <QLibraryInfo>
#include <QSqlDatabase>
#include <QTextStream>
#include <QTranslator>

using namespace ravelin;

namespace {

QString versionLine()
{
    return QStringLiteral("Ravelin %1 (%2)").arg(programVersion(), programBuild());
}

// Written by hand rather than by QCommandLineParser, whose headings are English unless Qt's
// translations are installed; the manual page is made from this text.
QString helpText()
{
    return QStringLiteral(
        "Utilisation : ravelin [OPTION]...\n"
        "\n"
        "Gestion du négoce de bois : coupes et grumes, commandes et bons de livraison, livraisons de\n"
        "plaquettes, stocks, factures et avoirs, analyses, sur une base MySQL ou MariaDB partagée\n"
        "par plusieurs postes. Sans option, ouvre la fenêtre principale.\n"
        "\n"
        "Options :\n"
        "  --config FICHIER          lit la configuration dans FICHIER au lieu de la chercher\n"
        "  --create-database NOM     crée la base de données de société NOM sur le serveur de la\n"
        "                            configuration, puis quitte\n"
        "  --demo                    avec --create-database : y met la société de démonstration\n"
        "  --diagnostic              vérifie l'installation (Qt, pilote MySQL, dossiers,\n"
        "                            configuration) et quitte ; code de sortie 1 s'il manque un élément\n"
        "  -h, --help                affiche cette aide et quitte\n"
        "  -v, --version             affiche la version et quitte\n"
        "\n"
        "Configuration : le fichier Serveur_config.INI, section [SERVEUR], est cherché dans cet\n"
        "ordre : celui de --config ; à côté du programme ; dans le dossier de configuration de\n"
        "l'utilisateur (~/.config/ravelin/) ; dans celui du système (/etc/xdg/ravelin/). Le premier\n"
        "trouvé est utilisé.\n");
}

void addOptions(QCommandLineParser &parser)
{
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QString()});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, QString()});
    parser.addOption({QStringLiteral("config"), QString(), QStringLiteral("FICHIER")});
    parser.addOption({QStringLiteral("create-database"), QString(), QStringLiteral("NOM")});
    parser.addOption({QStringLiteral("demo"), QString()});
    parser.addOption({QStringLiteral("diagnostic"), QString()});
}

// The commands that end before any window: they need neither a display nor Qt Gui.
bool isConsoleCommand(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-h" || a == "--help" || a == "-v" || a == "--version" || a == "--create-database" ||
            a.startsWith("--create-database="))
            return true;
    }
    return false;
}

// ravelin --create-database NAME [--demo]: creates a company database on the server of the
// configuration found, from the schema compiled into the program.
int createDatabaseCommand(const QCommandLineParser &parser)
{
    QTextStream err(stderr);
    const QString name = parser.value(QStringLiteral("create-database"));
    const ConfigLocation location = locateConfig(parser.value(QStringLiteral("config")));
    const ServerConfig config = location.path.isEmpty() ? ServerConfig() : readServerConfig(location.path);
    if (!config.isComplete()) {
        err << configurationError(location).fullText() << "\n";
        return 1;
    }
    const Status created = createCompanyDatabase(config, name, parser.isSet(QStringLiteral("demo")));
    if (!created) {
        err << created.error().fullText() << "\n";
        return 1;
    }
    QTextStream(stdout) << "Base de données " << name << " créée.\n";
    return 0;
}

// ravelin --diagnostic: what an administrator checks after installing, one line each; exit 1 when
// something the program cannot start without is missing.
int diagnosticCommand(const QCommandLineParser &parser, bool translated)
{
    QTextStream out(stdout);
    bool ok = true;
    const auto line = [&](const QString &what, const QString &value, bool good = true) {
        out << what << " : " << value << (good ? "" : "  <-- MANQUANT") << "\n";
        ok = ok && good;
    };
    out << versionLine() << "\n";
    line(QStringLiteral("Qt"),
         QStringLiteral("%1 (compilé avec %2), plateforme %3")
             .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR), QGuiApplication::platformName()));
    {
        const QString probe = QStringLiteral("ravelin-diagnostic");
        const bool driver = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), probe).isValid();
        QSqlDatabase::removeDatabase(probe);
        line(QStringLiteral("Pilote QMYSQL"), driver ? QStringLiteral("chargé") : QStringLiteral("introuvable"),
             driver);
    }
    line(QStringLiteral("Traduction des dialogues de Qt (qtbase_fr)"),
         translated ? QStringLiteral("chargée") : QStringLiteral("absente, dialogues en anglais"));
    line(QStringLiteral("Dossier du programme"), binaryFolder());
    const QString resources = resourceFolder();
    const bool hasImages = QFileInfo(resources + QStringLiteral("image")).isDir();
    line(QStringLiteral("Ressources (image/)"), resources, hasImages);
    line(QStringLiteral("Pages écrites dans"), pagesFolder());
    line(QStringLiteral("Dossiers de configuration"), configFolders().join(QStringLiteral(", ")));
    const ConfigLocation location = locateConfig(parser.value(QStringLiteral("config")));
    const bool complete = !location.path.isEmpty() && readServerConfig(location.path).isComplete();
    if (complete) line(QStringLiteral("Configuration"), location.path);
    else
        line(QStringLiteral("Configuration"),
             configurationError(location).fullText().replace(QLatin1Char('\n'), QLatin1Char(' ')), false);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("ravelin"));
    QCoreApplication::setApplicationVersion(programVersion());
    QLocale::setDefault(frenchLocale());

    QCommandLineParser parser;
    addOptions(parser);
    if (isConsoleCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        if (!parser.parse(app.arguments())) {
            QTextStream(stderr) << parser.errorText() << "\n" << helpText();
            return 2;
        }
        if (parser.isSet(QStringLiteral("help"))) {
            QTextStream(stdout) << helpText();
            return 0;
        }
        if (parser.isSet(QStringLiteral("version"))) {
            QTextStream(stdout) << versionLine() << "\n";
            return 0;
        }
        return createDatabaseCommand(parser);
    }

    QApplication app(argc, argv);
    // Wayland docks match the window to the menu entry ravelin.desktop by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("ravelin"));
    allowWindowActivation();
    setUrlOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); });
    if (!parser.parse(app.arguments())) {
        QTextStream(stderr) << parser.errorText() << "\n" << helpText();
        return 2;
    }
    // Qt's own dialogs (file chooser, standard buttons) in French when Qt's translations are there.
    QTranslator qtTranslator;
    const bool translated =
        qtTranslator.load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (translated) QCoreApplication::installTranslator(&qtTranslator);
    if (parser.isSet(QStringLiteral("diagnostic"))) return diagnosticCommand(parser, translated);

    MessageBoxDialogs dialogs;
    auto state = startProgram(locateConfig(parser.value(QStringLiteral("config"))), pagesFolder(), programVersion());
    if (!state) {
        dialogs.message(state.error().fullText(), QStringLiteral("Ravelin"));
        return 1;
    }

    AppContext context;
    context.db = state->db;
    context.dialogs = &dialogs;
    context.settings = state->settings;
    context.applicationFolder = state->applicationFolder;

    MainWindow window(context);
    QObject::connect(&window, &MainWindow::endRequested, &app, [&](int code) {
        window.close();
        QCoreApplication::exit(code);
    });
    window.show();
    return app.exec();
}

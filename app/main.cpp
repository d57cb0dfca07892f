#include "appcontext.h"
#include "database.h"
#include "formats.h"
#include "mainwindow.h"
#include "messageboxdialogs.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

using namespace ravelin;

namespace {

// ravelin --create-database NAME [--demo]: creates a company database on the server named in
// Serveur_config.INI beside the program, from the schema compiled into it.
int createDatabaseCommand(const QStringList &args)
{
    QTextStream err(stderr);
    const int at = int(args.indexOf(QStringLiteral("--create-database")));
    if (at + 1 >= args.size()) {
        err << "usage: ravelin --create-database NAME [--demo]\n";
        return 2;
    }
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const ServerConfig config = readServerConfig(folder + configFileName());
    if (!config.isComplete()) {
        err << missingConfigMessage() << " (" << folder << ")\n";
        return 1;
    }
    const Status created = createCompanyDatabase(config, args.at(at + 1), args.contains(QStringLiteral("--demo")));
    if (!created) {
        err << created.error().fullText() << "\n";
        return 1;
    }
    QTextStream(stdout) << "Base de données " << args.at(at + 1) << " créée.\n";
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QLocale::setDefault(frenchLocale());
    if (argc > 1 && QByteArray(argv[1]) == "--create-database") {
        QCoreApplication app(argc, argv);
        return createDatabaseCommand(app.arguments());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ravelin"));
    MessageBoxDialogs dialogs;

    auto state = startProgram(QCoreApplication::applicationDirPath(), MainWindow::versionText());
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

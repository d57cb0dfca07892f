#include "screens.h"

#include "appcontext.h"
#include "mainwindow.h"
#include "modal.h"
#include "settingsdialog.h"
#include "userlistdialog.h"

namespace ravelin {

void installScreens(MainWindow &window, AppContext &context)
{
    QWidget *parent = &window;
    window.setOpener(QStringLiteral("&Gestion des mots de passes"), [&context, parent] {
        UserListDialog screen(context, parent);
        runModal(screen);
    });
    window.setOpener(QStringLiteral("Paramètres Logiciel"), [&context, parent] {
        SettingsDialog screen(context, parent);
        if (screen.loaded()) runModal(screen);
    });
}

} // namespace ravelin

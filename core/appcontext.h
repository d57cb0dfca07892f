#pragma once

#include "dialogs.h"
#include "users.h"

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace ravelin {

// What every screen needs from the running program: the one connection, the dialogs, the rights
// of the signed-in user and the values read at start-up. The main window owns it; screens get a
// reference, tests build their own.
struct AppContext
{
    QSqlDatabase db;
    Dialogs *dialogs = nullptr;
    Rights rights;
    QSqlRecord settings;       // the perso row read at start-up
    QString applicationFolder; // with its trailing separator

    QString user() const { return rights.user(); }
    QString defaultUnit() const { return settings.value(QStringLiteral("unite_defaut")).toString(); }
    QString defaultMoisture() const { return settings.value(QStringLiteral("humidite_defaut")).toString(); }
    bool require(const QString &page) const { return rights.require(page, *dialogs); }
};

} // namespace ravelin

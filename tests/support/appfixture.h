#pragma once

#include "appcontext.h"
#include "scripteddialogs.h"
#include "settings.h"
#include "sql.h"
#include "testdb.h"

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QTest>

namespace ravelin::test {

// A test database with the installation rows, the dialogs and a context signed in as the master
// user (every right).
class AppFixture
{
public:
    QSqlDatabase db;
    ScriptedDialogs dialogs;
    AppContext context;

    void open()
    {
        db = createTestDatabase();
        context.db = db;
        context.dialogs = &dialogs;
        context.rights = Rights({}, QStringLiteral("Technicien"));
        auto settings = loadSettings(db);
        QVERIFY(settings);
        context.settings = *settings;
    }

    void run(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto done = execute(db, sql, values);
        QVERIFY2(done, qPrintable(done.ok() ? QString() : done.error().fullText() + QStringLiteral("\n") + sql));
    }
    QVariant value(const QString &sql, std::initializer_list<QVariant> values = {})
    {
        const auto v = scalar(db, sql, values);
        if (!v) qWarning() << v.error().fullText();
        return v ? *v : QVariant();
    }
    int count(const QString &sql, std::initializer_list<QVariant> values = {}) { return value(sql, values).toInt(); }

    // A user holding only these pages.
    void signInWith(const QStringList &pages)
    {
        QList<Rights::Row> rows;
        for (const QString &page : pages) rows.append({QStringLiteral("Alice"), page, QStringLiteral("1")});
        context.rights = Rights(rows, QStringLiteral("Alice"));
    }
    void signInAsMaster() { context.rights = Rights({}, QStringLiteral("Technicien")); }
};

} // namespace ravelin::test

#include "servererrors.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace ravelin {

const QList<ServerErrorRule> &serverErrorRules()
{
    using K = ErrorKind;
    static const QList<ServerErrorRule> rules{
        // 2002 no socket, 2003 no server, 2005 unknown host, 2006 gone away, 2013 lost during a
        // statement, 2055 lost at a system call, 1927 connection killed, 4031 closed for inactivity
        {{2002, 2003, 2005, 2006, 2013, 2055, 1927, 4031},
         {},
         K::DatabaseFailure,
         QStringLiteral("La connexion au serveur de base de données est perdue. Vérifiez le réseau puis recommencez.")},
        {{1213}, {}, K::DatabaseFailure, QStringLiteral("Conflit avec un autre poste (interblocage). Recommencez.")},
        {{1205},
         {},
         K::DatabaseFailure,
         QStringLiteral("Un autre poste modifie les mêmes données : délai d'attente dépassé. "
                        "Recommencez dans un instant.")},
        {{1062}, QStringLiteral("uq_coupe_n_lot"), K::Refusal, lotNumberTakenMessage()},
        {{1062}, QStringLiteral("uq_destination_destination"), K::Refusal, placeNameTakenMessage()},
        {{1062}, QStringLiteral("uq_facture_entete_num_facture"), K::Refusal, invoiceNumberTakenMessage()},
        // A duplicate on another index: the server's text tells which value.
        {{1062}, {}, K::DatabaseFailure, QStringLiteral("Cet enregistrement existe déjà (valeur en double).")},
        {{1452},
         {},
         K::NotFound,
         QStringLiteral("L'enregistrement auquel celui-ci renvoie n'existe pas ou a été supprimé sur un autre poste.")},
        {{1451},
         {},
         K::Refusal,
         QStringLiteral("Cet enregistrement est utilisé ailleurs et ne peut pas être supprimé.")},
        {{1048},
         {},
         K::Refusal,
         QStringLiteral("La zone « %1 » doit être renseignée."),
         QStringLiteral("Une zone obligatoire n'est pas renseignée.")},
        {{1406},
         {},
         K::Refusal,
         QStringLiteral("Le texte saisi pour « %1 » est trop long."),
         QStringLiteral("Un texte saisi est trop long.")},
        {{1264},
         {},
         K::Refusal,
         QStringLiteral("La valeur saisie pour « %1 » est hors des limites admises."),
         QStringLiteral("Une valeur saisie est hors des limites admises.")},
        // 1366 incorrect value, 1265 truncated, 1292 incorrect date or number
        {{1366, 1265, 1292},
         {},
         K::Refusal,
         QStringLiteral("La valeur saisie pour « %1 » n'est pas valide."),
         QStringLiteral("Une valeur saisie n'est pas valide.")},
        {{1044, 1045}, {}, K::DatabaseFailure, QStringLiteral("Accès refusé par le serveur de base de données.")},
        {{1049}, {}, K::DatabaseFailure, QStringLiteral("La base de données n'existe pas.")},
    };
    return rules;
}

namespace {

// The last part of a quoted, possibly qualified name: "'coupe.uq_coupe_n_lot'" or
// "`db`.`coupe`.`nom`" gives the name after the last dot.
QString lastNamePart(const QString &quoted)
{
    QString name = quoted;
    name.remove(QLatin1Char('`'));
    name.remove(QLatin1Char('\''));
    name.remove(QLatin1Char('"'));
    return name.section(QLatin1Char('.'), -1).trimmed();
}

} // namespace

QString serverText(const QString &driverText)
{
    // The Qt MySQL driver reads the server's message as Latin-1, but the server writes it in the
    // connection's character set (utf8mb4): "refusée" arrives as "refusÃ©e". A text whose
    // characters all fit in one byte and whose bytes are valid UTF-8 is read again as UTF-8.
    for (const QChar c : driverText)
        if (c.unicode() > 0xFF) return driverText;
    const QByteArray bytes = driverText.toLatin1();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? driverText : decoded;
}

QString serverErrorConstraint(const QString &serverText)
{
    static const QRegularExpression key(QStringLiteral("for key ('[^']*'|`[^`]*`)"));
    static const QRegularExpression constraint(QStringLiteral("CONSTRAINT `([^`]*)`"));
    if (const auto m = key.match(serverText); m.hasMatch()) return lastNamePart(m.captured(1));
    if (const auto m = constraint.match(serverText); m.hasMatch()) return m.captured(1);
    return QString();
}

QString serverErrorColumn(const QString &serverText)
{
    // "for column 'nom'", "for column `db`.`t`.`nom`", "Column 'nom' cannot be null"
    static const QRegularExpression column(QStringLiteral("column ((?:[`'][^`']*[`']\\.?)+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (const auto m = column.match(serverText); m.hasMatch()) return lastNamePart(m.captured(1));
    return QString();
}

Error databaseError(const QSqlError &error, const QString &statement, SourceLocation location)
{
    return databaseError(error, statement, functionName(location));
}

Error databaseError(const QSqlError &error, const QString &statement, const QString &where)
{
    Error e;
    e.detail = ravelin::serverText(error.text());
    e.statement = statement;
    e.where = where;
    e.nativeCode = error.nativeErrorCode().toInt();
    const QString serverText =
        ravelin::serverText(error.databaseText().isEmpty() ? error.text() : error.databaseText());
    if (e.nativeCode == 1062 || e.nativeCode == 1451 || e.nativeCode == 1452)
        e.constraint = serverErrorConstraint(serverText);
    for (const ServerErrorRule &rule : serverErrorRules()) {
        if (!rule.codes.contains(e.nativeCode)) continue;
        if (!rule.constraint.isEmpty() && rule.constraint.compare(e.constraint, Qt::CaseInsensitive) != 0) continue;
        e.kind = rule.kind;
        if (rule.message.contains(QLatin1String("%1"))) {
            const QString column = serverErrorColumn(serverText);
            e.message = column.isEmpty() ? rule.withoutColumn : rule.message.arg(column);
        } else {
            e.message = rule.message;
        }
        return e;
    }
    e.kind = ErrorKind::DatabaseFailure;
    e.message = QStringLiteral("Erreur de base de données : ") + serverText;
    return e;
}

} // namespace ravelin

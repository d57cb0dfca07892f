#include "counters.h"

#include "sql.h"

namespace ravelin {

QString counterColumn(Counter counter)
{
    switch (counter) {
    case Counter::NLot: return QStringLiteral("n_lot");
    case Counter::NumBl: return QStringLiteral("num_bl");
    case Counter::NumFacture: return QStringLiteral("num_facture");
    case Counter::NumIntervenantPossible: return QStringLiteral("num_intervenant_possible");
    case Counter::NumContact: return QStringLiteral("num_contact");
    }
    return QString();
}

Result<int> proposeNextCounter(QSqlDatabase db, Counter counter)
{
    const QString column = counterColumn(counter);
    auto value = scalar(db, QStringLiteral("select %1 from increment").arg(column));
    if (!value) return value.error();
    return value->toInt() + 1;
}

Result<int> takeNextCounter(QSqlDatabase db, Counter counter)
{
    const QString column = counterColumn(counter);
    const QString update = QStringLiteral("UPDATE increment SET %1 = LAST_INSERT_ID(COALESCE(%1, 0) + 1)").arg(column);
    auto touched = execute(db, update);
    if (!touched) return touched.error();
    if (*touched != 1) {
        Error e = Error::failure(QStringLiteral("La table des compteurs (increment) n'a pas exactement une ligne."),
                                 QStringLiteral("%1 ligne(s) modifiée(s)").arg(*touched));
        e.statement = update;
        return e;
    }
    auto value = scalar(db, QStringLiteral("SELECT LAST_INSERT_ID()"));
    if (!value) return value.error();
    return value->toInt();
}

} // namespace ravelin

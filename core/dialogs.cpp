#include "dialogs.h"

namespace ravelin {

void showFailure(Dialogs &dialogs, const Error &error)
{
    if (error.detail.isEmpty() && error.statement.isEmpty()) dialogs.message(error.message);
    else dialogs.error(error);
}

bool confirmDeletion(Dialogs &dialogs, const QString &question, const QString &caption)
{
    if (!dialogs.yesNo(question, caption)) return false;
    const auto typed = dialogs.input(QStringLiteral("Supprimer une saisie"),
                                     QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
    return typed && *typed == QLatin1String("SUPPRIMER");
}

} // namespace ravelin

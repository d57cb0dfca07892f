#include "dialogs.h"

namespace ravelin {

bool confirmDeletion(Dialogs &dialogs, const QString &question, const QString &caption)
{
    if (!dialogs.yesNo(question, caption)) return false;
    const auto typed = dialogs.input(QStringLiteral("Supprimer une saisie"),
                                     QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
    return typed && *typed == QLatin1String("SUPPRIMER");
}

} // namespace ravelin

#include "dialogs.h"

namespace ravelin {

void Dialogs::error(const Error &e)
{
    switch (e.kind) {
    case ErrorKind::Refusal:
        // What a rule of the program says, as the user knows it from every other refusal.
        message(e.message);
        return;
    case ErrorKind::ChangedElsewhere:
    case ErrorKind::NotFound: message(e.message, QStringLiteral("Erreur")); return;
    case ErrorKind::DatabaseFailure: break;
    }
    message(e.fullText(), QStringLiteral("Erreur"));
}

bool confirmDeletion(Dialogs &dialogs, const QString &question, const QString &caption)
{
    if (!dialogs.yesNo(question, caption)) return false;
    const auto typed = dialogs.input(QStringLiteral("Supprimer une saisie"),
                                     QStringLiteral("Pour confirmer la suppression, tapez \"SUPPRIMER\" "));
    return typed && *typed == QLatin1String("SUPPRIMER");
}

} // namespace ravelin

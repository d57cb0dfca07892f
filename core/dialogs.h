#pragma once

#include "result.h"

#include <QString>

#include <optional>

namespace ravelin {

// Every message, question, input box and file chooser of the program goes through this
// interface. The application installs the message-box implementation with French buttons;
// tests install a scripted one that answers in turn and records what the user would have seen.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A message with an "OK" button.
    virtual void message(const QString &text, const QString &caption = QString()) = 0;
    // "OK" / "Annuler"; true on "OK".
    virtual bool okCancel(const QString &text, const QString &caption) = 0;
    // "Oui" / "Non"; true on "Oui".
    virtual bool yesNo(const QString &text, const QString &caption) = 0;
    // An input box; nothing when cancelled.
    virtual std::optional<QString> input(const QString &caption, const QString &prompt,
                                         const QString &initial = QString()) = 0;
    // A file-open chooser starting in `folder` (the last one used when empty); empty when
    // cancelled.
    virtual QString openFile(const QString &caption, const QString &filter, const QString &folder = QString()) = 0;
    // A file-save chooser (it asks before replacing a file) proposing `proposed` (a folder and a
    // file name; the user's documents when empty); empty when cancelled.
    virtual QString saveFile(const QString &caption, const QString &filter, const QString &proposed = QString()) = 0;

    // Shows an operation's error as its kind asks: a refusal, a change made on another workstation
    // or a record no longer there shows its French message alone; a database failure shows the
    // message with the server's text, titled "Erreur".
    void error(const Error &e);
};

// The delete confirmation every list uses: the Yes/No question naming the record, then the input
// box "Supprimer une saisie" that needs exactly "SUPPRIMER". Anything else leaves the record
// untouched, without a message.
bool confirmDeletion(Dialogs &dialogs, const QString &question, const QString &caption = QStringLiteral("Attention"));

// Shown by every action on an empty list.
inline QString noRecordMessage()
{
    return QStringLiteral("Il n'y a pas d'enregistrement");
}

} // namespace ravelin

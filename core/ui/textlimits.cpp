#include "textlimits.h"

#include "appcontext.h"
#include "columnlengths.h"
#include "dialogs.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QValidator>

namespace ravelin {

namespace {

// Tells the user once per refusal, after the key or paste that caused it has been handled.
void tellTooLong(QWidget *field, Dialogs *dialogs, const QString &caption, int characters)
{
    QPointer<QWidget> guard(field);
    QMetaObject::invokeMethod(
        field,
        [guard, dialogs, caption, characters] {
            if (guard) dialogs->message(textTooLongMessage(caption, characters), QStringLiteral("Attention"));
        },
        Qt::QueuedConnection);
}

class LengthValidator : public QValidator
{
public:
    LengthValidator(TextLength length, Dialogs *dialogs, QString caption, QLineEdit *field)
        : QValidator(field), m_length(length), m_dialogs(dialogs), m_caption(std::move(caption)), m_field(field)
    {
    }

    State validate(QString &input, int &) const override
    {
        if (m_length.holds(input)) return Acceptable;
        tellTooLong(m_field, m_dialogs, m_caption, m_length.characters);
        return Invalid;
    }

private:
    TextLength m_length;
    Dialogs *m_dialogs;
    QString m_caption;
    QLineEdit *m_field;
};

// A multi-line box has no validator: a change that makes it too long is undone.
template <typename Box> void guardBox(Box *box, TextLength length, Dialogs *dialogs, const QString &caption)
{
    auto accepted = std::make_shared<QString>(box->toPlainText());
    QObject::connect(box, &Box::textChanged, box, [box, length, dialogs, caption, accepted] {
        const QString text = box->toPlainText();
        if (length.holds(text)) {
            *accepted = text;
            return;
        }
        {
            const QSignalBlocker blocker(box);
            box->setPlainText(*accepted);
            box->moveCursor(QTextCursor::End);
        }
        tellTooLong(box, dialogs, caption, length.characters);
    });
}

QString labelOf(QWidget *field)
{
    const auto labels = field->window()->findChildren<QLabel *>();
    for (QLabel *label : labels)
        if (label->buddy() == field) return label->text();
    if (QWidget *parent = field->parentWidget())
        if (auto *form = qobject_cast<QFormLayout *>(parent->layout()))
            if (auto *label = qobject_cast<QLabel *>(form->labelForField(field))) return label->text();
    return QString();
}

QString captionOf(QWidget *field, const QHash<QString, QString> &captions)
{
    QString caption = captions.value(field->objectName());
    if (caption.isEmpty()) caption = labelOf(field);
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    while (caption.endsWith(QLatin1Char(':'))) caption = caption.chopped(1).trimmed();
    return caption.isEmpty() ? field->objectName() : caption;
}

} // namespace

Status limitTextFields(QWidget *form, QSqlDatabase db, const QString &table, Dialogs &dialogs,
                       const QHash<QString, QString> &columns, const QHash<QString, QString> &captions)
{
    auto lengths = textColumnLengths(db, table);
    if (!lengths) return lengths.error();
    const auto lengthOf = [&](QWidget *field) -> std::optional<TextLength> {
        const QString column = columns.value(field->objectName(), field->objectName()).toLower();
        const auto it = lengths->constFind(column);
        if (it == lengths->cend()) return std::nullopt;
        return *it;
    };
    for (QLineEdit *field : form->findChildren<QLineEdit *>()) {
        // the editors inside spin boxes and combo boxes have no name of their own
        if (field->objectName().isEmpty() || field->validator()) continue;
        if (const auto length = lengthOf(field))
            field->setValidator(new LengthValidator(*length, &dialogs, captionOf(field, captions), field));
    }
    for (QPlainTextEdit *box : form->findChildren<QPlainTextEdit *>())
        if (const auto length = lengthOf(box)) guardBox(box, *length, &dialogs, captionOf(box, captions));
    for (QTextEdit *box : form->findChildren<QTextEdit *>())
        if (const auto length = lengthOf(box)) guardBox(box, *length, &dialogs, captionOf(box, captions));
    return {};
}

void limitTextFields(QWidget *form, AppContext &context, const QString &table, const QHash<QString, QString> &columns,
                     const QHash<QString, QString> &captions)
{
    if (!context.dialogs) return;
    // a connection that cannot read the catalogue will not save either: the save tells why
    (void)limitTextFields(form, context.db, table, *context.dialogs, columns, captions);
}

} // namespace ravelin

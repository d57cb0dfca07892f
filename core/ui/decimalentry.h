#pragma once

#include <QChar>
#include <QObject>

class QWidget;

namespace ravelin {

// The decimal key of every numeric field: a typed "," or "." becomes the decimal separator (the
// French ","). Other keys pass untouched.
class DecimalKeyFilter : public QObject
{
    Q_OBJECT
public:
    explicit DecimalKeyFilter(QChar separator, QObject *parent = nullptr) : QObject(parent), m_separator(separator) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QChar m_separator;
};

// Installs the rule on a field (line edit, spin box...). The separator defaults to the program's.
void installDecimalEntry(QWidget *field, QChar separator = QChar());

} // namespace ravelin

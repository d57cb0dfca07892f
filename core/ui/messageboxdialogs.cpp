#include "messageboxdialogs.h"

#include "paths.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ravelin {

QWidget *MessageBoxDialogs::parentWidget() const
{
    if (QWidget *modal = QApplication::activeModalWidget()) return modal;
    return m_parent;
}

static QString titleOr(const QString &caption)
{
    return caption.isEmpty() ? QStringLiteral("Ravelin") : caption;
}

void MessageBoxDialogs::message(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Information, titleOr(caption), text, QMessageBox::Ok, parentWidget());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

bool MessageBoxDialogs::okCancel(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Warning, titleOr(caption), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parentWidget());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annuler"));
    return box.exec() == QMessageBox::Ok;
}

bool MessageBoxDialogs::yesNo(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, titleOr(caption), text, QMessageBox::Yes | QMessageBox::No, parentWidget());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Non"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> MessageBoxDialogs::input(const QString &caption, const QString &prompt, const QString &initial)
{
    QInputDialog box(parentWidget());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(initial);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annuler"));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

QString MessageBoxDialogs::openFile(const QString &caption, const QString &filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(parentWidget(), caption, folder.isEmpty() ? documentsFolder() : folder, filter);
}

QString MessageBoxDialogs::saveFile(const QString &caption, const QString &filter, const QString &proposed)
{
    QString chosen;
    QString path = QFileDialog::getSaveFileName(parentWidget(), caption,
                                                proposed.isEmpty() ? documentsFolder() : proposed, filter, &chosen);
    // the filter chosen gives the file its extension when the user typed none
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        const qsizetype star = chosen.indexOf(QStringLiteral("*."));
        if (star >= 0) path += chosen.mid(star + 1).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(' '), 0, 0);
    }
    return path;
}

} // namespace ravelin

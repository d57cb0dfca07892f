#include "referencedetaildialog.h"
#include "ui_detail_acheteur.h"
#include "ui_detail_classe.h"
#include "ui_detail_coef.h"
#include "ui_detail_essence.h"
#include "ui_detail_famille_affaire.h"
#include "ui_detail_qualite.h"
#include "ui_detail_reglement.h"
#include "ui_detail_tva.h"

#include "appcontext.h"
#include "decimalentry.h"
#include "formats.h"
#include "textlimits.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <cmath>

namespace ravelin {

namespace {

// The generated form classes only create the widgets on the dialog, which owns them afterwards.
template <typename Form> void setUpForm(QDialog *dialog)
{
    Form form;
    form.setupUi(dialog);
}

void setUpDetailForm(ReferenceTable table, QDialog *dialog)
{
    switch (table) {
    case ReferenceTable::Essence: setUpForm<Ui::detail_essence>(dialog); return;
    case ReferenceTable::Qualite: setUpForm<Ui::detail_qualite>(dialog); return;
    case ReferenceTable::Classe: setUpForm<Ui::detail_classe>(dialog); return;
    case ReferenceTable::Coef: setUpForm<Ui::detail_coef>(dialog); return;
    case ReferenceTable::Acheteur: setUpForm<Ui::detail_acheteur>(dialog); return;
    case ReferenceTable::FamilleIntervenant: setUpForm<Ui::detail_famille_affaire>(dialog); return;
    case ReferenceTable::ListeTva: setUpForm<Ui::detail_tva>(dialog); return;
    case ReferenceTable::ListeReglement: setUpForm<Ui::detail_reglement>(dialog); return;
    }
}

// Numbers in the fields the French way, with every digit the table holds and no thousands
// separator, so that a field left alone gives back exactly the stored value.
QString numberText(const QVariant &value, ColumnKind kind)
{
    if (!value.isValid() || value.isNull()) return QString();
    bool ok = false;
    if (kind == ColumnKind::Integer) {
        const qlonglong i = value.toLongLong(&ok);
        return ok ? QString::number(i) : value.toString();
    }
    const double d = value.toDouble(&ok);
    if (!ok) return value.toString();
    QLocale locale = frenchLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(d, 'f', QLocale::FloatingPointShortest);
}

} // namespace

QColor ReferenceDetailDialog::requiredColour()
{
    return QColor(0x00, 0xFF, 0x00); // lime
}

ReferenceDetailDialog::ReferenceDetailDialog(AppContext &context, ReferenceTable table, const ReferenceRow &row,
                                             Save save, QWidget *parent)
    : QDialog(parent), m_context(context), m_def(referenceTable(table)), m_row(row), m_save(std::move(save))
{
    setUpDetailForm(table, this);
    for (auto it = m_def.codedChoices.cbegin(); it != m_def.codedChoices.cend(); ++it) {
        auto *choice = qobject_cast<QComboBox *>(field(it.key()));
        if (!choice) continue;
        choice->clear();
        for (const auto &[code, caption] : it.value()) choice->addItem(caption, code);
    }
    for (const ReferenceColumn &c : m_def.columns) {
        auto *edit = qobject_cast<QLineEdit *>(field(c.name));
        if (!edit || edit->isReadOnly()) continue;
        if (c.kind == ColumnKind::Real) {
            installDecimalEntry(edit);
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*([.,][0-9]*)?")), edit));
        } else if (c.kind == ColumnKind::Integer) {
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,9}")), edit));
        }
    }
    // after the number fields' validators: only the text fields take their column's length
    limitTextFields(this, context, m_def.table);
    for (const QString &column : m_def.requiredColumns) {
        if (QWidget *f = field(column)) {
            QPalette p = f->palette();
            p.setColor(QPalette::Base, requiredColour());
            f->setPalette(p);
        }
    }
    if (auto *ok = findChild<QPushButton *>(QStringLiteral("BtnOK")))
        connect(ok, &QPushButton::clicked, this, &ReferenceDetailDialog::accept);
    if (auto *cancel = findChild<QPushButton *>(QStringLiteral("BtnAnnuler")))
        connect(cancel, &QPushButton::clicked, this, &ReferenceDetailDialog::reject);
    fillFields(row);
}

QWidget *ReferenceDetailDialog::field(const QString &column) const
{
    return findChild<QWidget *>(column);
}

QLabel *ReferenceDetailDialog::labelOf(QWidget *f) const
{
    const auto labels = findChildren<QLabel *>();
    for (QLabel *l : labels)
        if (l->buddy() == f) return l;
    return nullptr;
}

void ReferenceDetailDialog::fillFields(const ReferenceRow &row)
{
    for (const ReferenceColumn &c : m_def.columns) {
        QWidget *f = field(c.name);
        const QVariant v = row.value(c.name);
        if (auto *edit = qobject_cast<QLineEdit *>(f)) {
            edit->setText(c.kind == ColumnKind::Text ? (v.isNull() ? QString() : v.toString()) : numberText(v, c.kind));
        } else if (auto *choice = qobject_cast<QComboBox *>(f)) {
            const QString text = v.isNull() ? QString() : v.toString();
            // a list whose items carry a code stores the code and shows its meaning
            int index = choice->findData(text);
            if (index < 0) index = choice->findText(text, Qt::MatchExactly);
            // A value written by another program that the list does not offer is still shown.
            if (index < 0 && !text.isEmpty()) {
                choice->addItem(text);
                index = choice->count() - 1;
            }
            choice->setCurrentIndex(index);
        }
    }
}

ReferenceRow ReferenceDetailDialog::typedRow(QString *unreadable) const
{
    ReferenceRow typed = m_row;
    for (const ReferenceColumn &c : m_def.columns) {
        QWidget *f = field(c.name);
        if (auto *edit = qobject_cast<QLineEdit *>(f)) {
            const QString text = edit->text();
            if (c.kind == ColumnKind::Text || text.trimmed().isEmpty()) {
                typed.insert(c.name, c.kind == ColumnKind::Text ? QVariant(text) : storedValue(c, QVariant()));
                continue;
            }
            bool ok = false;
            QVariant value;
            if (c.kind == ColumnKind::Integer) {
                const int i = text.trimmed().toInt(&ok);
                if (ok) value = i;
            } else {
                const double d = parseDecimal(text, &ok);
                ok = ok && std::isfinite(d);
                if (ok) value = d;
            }
            if (!ok) {
                if (unreadable && unreadable->isEmpty()) *unreadable = c.name;
                value = storedValue(c, QVariant());
            }
            typed.insert(c.name, value);
        } else if (auto *choice = qobject_cast<QComboBox *>(f)) {
            const QVariant code = choice->currentData();
            if (choice->currentIndex() < 0) typed.insert(c.name, storedValue(c, QVariant()));
            else if (code.isValid()) typed.insert(c.name, storedValue(c, code));
            else typed.insert(c.name, QVariant(choice->currentText()));
        }
    }
    return typed;
}

void ReferenceDetailDialog::accept()
{
    QString unreadable;
    const ReferenceRow typed = typedRow(&unreadable);
    if (!unreadable.isEmpty()) {
        QWidget *f = field(unreadable);
        const QLabel *label = labelOf(f);
        const QString name = label ? label->text().trimmed() : unreadable;
        m_context.dialogs->message(QStringLiteral("La valeur saisie n'est pas un nombre : %1").arg(name));
        if (f) f->setFocus();
        return;
    }
    if (const QString refused = checkReferenceRow(m_def, typed); !refused.isEmpty()) {
        m_context.dialogs->message(refused);
        for (const RequiredCheck &check : m_def.checks) {
            if (check.message == refused) {
                if (QWidget *f = field(check.column)) f->setFocus();
                break;
            }
        }
        return;
    }
    if (m_save) {
        const Status written = m_save(typed);
        if (!written) {
            m_context.dialogs->error(written.error());
            if (written.error().is(ErrorKind::ChangedElsewhere)) {
                m_changedElsewhere = true;
                QDialog::reject();
            }
            return;
        }
    }
    QDialog::accept();
}

} // namespace ravelin

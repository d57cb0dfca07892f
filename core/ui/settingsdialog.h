#pragma once

#include <QDialog>
#include <QSqlRecord>
#include <QVariantMap>

#include <memory>

namespace Ui {
class parametrage;
}

namespace ravelin {

struct AppContext;

// parametrage: the company's particulars and defaults (perso) and the last numbers handed out
// (increment). Only what the user changed is written.
class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SettingsDialog(AppContext &context, QWidget *parent = nullptr);
    ~SettingsDialog() override;

    // False when the rows could not be read (the error was shown); the screen is then not shown.
    bool loaded() const { return m_loaded; }
    Ui::parametrage *ui() const { return m_ui.get(); }

public slots:
    void validate();
    void showAddressPosition();

private:
    QString fieldText(const QString &column) const;
    void setFieldText(const QString &column, const QString &text);
    // After a save refused because another workstation changed the rows: reads them again.
    void reloadAfterRefusal();

    std::unique_ptr<Ui::parametrage> m_ui;
    AppContext &m_context;
    QSqlRecord m_perso;
    QSqlRecord m_increment;
    QMap<QString, QString> m_shown; // every field's text as shown at opening
    bool m_loaded = false;
};

} // namespace ravelin

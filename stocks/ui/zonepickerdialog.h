#pragma once

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class liste_stock_buche;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// liste_stock_buche ("Liste des STOCKS Bûches/Grumes disponibles"): the firewood storage zones, by
// name or by number; "OK" gives the chosen zone's name.
class ZonePickerDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ZonePickerDialog(AppContext &context, QWidget *parent = nullptr);
    ~ZonePickerDialog() override;

    Ui::liste_stock_buche *ui() const { return m_ui.get(); }
    ListGrid *list() const { return m_list; }
    QString chosenZone() const;

public slots:
    void search();
    void validate();

private:
    std::unique_ptr<Ui::liste_stock_buche> m_ui;
    AppContext &m_context;
    ListGrid *m_list;
};

// The zone chosen, or nothing when the user cancels.
std::optional<QString> pickFirewoodZone(AppContext &context, QWidget *parent = nullptr);

} // namespace ravelin

#pragma once

#include "places.h"
#include "zones.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class detail_stockage_buche;
}

namespace ravelin {

struct AppContext;

// detail_stockage_buche (firewood zones) and detail_stockage (chip zones, with "Capacité maxi :",
// "Stock inventaire" and "Date inventaire"): the editor of one storage zone. "OK" writes a new
// zone or the fields the user changed; a missing name or one another place has keeps it open.
class ZoneEditorDialog : public QDialog
{
    Q_OBJECT
public:
    // inc 0: a new zone of that kind.
    ZoneEditorDialog(AppContext &context, ZoneKind kind, int inc, QWidget *parent = nullptr);
    ~ZoneEditorDialog() override;

    Ui::detail_stockage_buche *ui() const { return m_ui.get(); }
    bool loaded() const { return m_loaded; }
    QString writtenName() const { return m_values.value(QStringLiteral("destination")).toString(); }

public slots:
    void validate();
    void showAddressPosition();

private:
    PlaceValues edited() const;

    std::unique_ptr<Ui::detail_stockage_buche> m_ui;
    AppContext &m_context;
    ZoneKind m_kind;
    int m_inc;
    PlaceValues m_asRead;
    PlaceValues m_values;
    bool m_loaded = false;
};

} // namespace ravelin

#pragma once

#include "places.h"
#include "zones.h"

#include <QDialog>

#include <memory>

namespace Ui {
class Liste_stockage_buche;
}

namespace ravelin {

struct AppContext;
class PagedQueryModel;

// Liste_stockage_buche (firewood zones) and Liste_stockage (chip zones): the zones as cards with
// the "Destination" filter, and "&Créer", "&Modifier", "Supprimer" (page "Liste stockage").
class ZoneListDialog : public QDialog
{
    Q_OBJECT
public:
    ZoneListDialog(AppContext &context, ZoneKind kind, QWidget *parent = nullptr);
    ~ZoneListDialog() override;

    Ui::Liste_stockage_buche *ui() const { return m_ui.get(); }
    int rowCount() const;
    int currentRow() const;
    void setCurrentRow(int row);
    bool locate(const QString &destination);
    PlaceValues currentZone() const;
    // The lines of a card as the user reads them.
    QStringList cardLines(int row) const;

public slots:
    void search();
    void createZone();
    void modifyZone();
    void removeZone();

private:
    void runEditor(int inc);

    std::unique_ptr<Ui::Liste_stockage_buche> m_ui;
    AppContext &m_context;
    ZoneKind m_kind;
    PagedQueryModel *m_model;
};

// "Liste zone de stockage Bûches" / "Liste zone de stockage Plaquettes".
void openZoneList(AppContext &context, ZoneKind kind, QWidget *parent = nullptr);

} // namespace ravelin

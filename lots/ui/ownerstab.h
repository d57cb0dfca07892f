#pragma once

#include <QSqlRecord>
#include <QVariantMap>
#include <QWidget>

#include <memory>

class QSqlQueryModel;

namespace Ui {
class Onglet_proprietaires;
}

namespace ravelin {

struct AppContext;
class GridModel;
class GridModel;

// The lot editor's tab "Propriètaires": the lot's owners and the selected owner's species lines,
// the lot's place fields with its purchase cost and deposit, and the owner buttons, refused while
// the editor's "Terminé :" reads "OUI". Owners and species lines are written at once, with the
// lot's columns that follow them; the place fields are the editor's to write with the lot row.
class OwnersTab : public QWidget
{
    Q_OBJECT
public:
    OwnersTab(AppContext &context, int nLot, int indiceLot, QWidget *parent = nullptr);
    ~OwnersTab() override;

    Ui::Onglet_proprietaires *ui() const { return m_ui.get(); }
    GridModel *owners() const;
    GridModel *ownerSpecies() const;

    // The editor's "Terminé :" as it stands (not yet written).
    void setLotFinished(bool finished) { m_finished = finished; }
    bool lotFinished() const { return m_finished; }

    // Shows the lot row's place fields and amounts (lieu, adresse, cp, latitude, prix_achat,
    // abattage_cout).
    void setLotFields(const QSqlRecord &lot);
    // The place fields as typed: lieu, adresse, cp, latitude.
    QVariantMap placeFields() const;

    int currentOwnerRow() const;
    void selectOwner(int row);

public slots:
    // Re-reads the owners (keeping the selected one) and the lot's purchase cost and deposit.
    void reload();
    void createOwner();
    void modifyOwner();
    void deleteOwner();

public slots:
    // "Afficher coordonnées Parcelle": terrain.html looks the lot's place up (adresse, lieu, cp as
    // they stand on the tab).
    void showParcelPosition();

signals:
    // The lot's volume lines were rebuilt or their wood state recomputed: reload them.
    void volumeLinesChanged();
    // The lot's derived columns were written (readLotDerivedColumns gives them).
    void lotTotalsChanged();

private:
    bool refusedOnFinishedLot();
    void reloadOwnerSpecies();
    void reloadLotAmounts();
    // After an owner change: owners reloaded, lot totals and wood state recomputed.
    void ownersChanged();

    std::unique_ptr<Ui::Onglet_proprietaires> m_ui;
    AppContext &m_context;
    int m_nLot;
    int m_indiceLot;
    bool m_finished = false;
    QSqlQueryModel *m_ownersSource;
    GridModel *m_owners;
    QSqlQueryModel *m_speciesSource;
    GridModel *m_species;
};

} // namespace ravelin

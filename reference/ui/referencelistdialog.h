#pragma once

#include "referencelists.h"

#include <QDialog>

#include <memory>

class QAbstractItemModel;

namespace Ui {
class ReferenceList;
}

namespace ravelin {

struct AppContext;
class ListGrid;

// The list screen of a reference table (liste_essence, liste_qualite, ... liste_reglement): the
// rows as read when the list was last filled, "&Créer", "&Modifier", "Supprimer" and "&Fermer".
// Every write names the row by the values it was read with, so a row another workstation changed
// meanwhile is refused, never overwritten; the list is then read again.
class ReferenceListDialog : public QDialog
{
    Q_OBJECT
public:
    ReferenceListDialog(AppContext &context, ReferenceTable table, QWidget *parent = nullptr);
    ~ReferenceListDialog() override;

    Ui::ReferenceList *ui() const { return m_ui.get(); }
    const ReferenceTableDef &definition() const { return m_def; }

    // Runs the list's statement. Then selects the row equal to `select` when given, otherwise
    // stays on the same position. A failure is shown and the rows on screen are kept.
    bool reload(const ReferenceRow *select = nullptr);

    // The rows as read: what a modification or a deletion names its row by.
    const QList<ReferenceRow> &rows() const { return m_rows; }
    ListGrid *list() const { return m_list; }
    // The grid's model, as the user sees it (captions, formats, colours).
    QAbstractItemModel *gridModel() const;
    int currentRow() const;
    void selectRow(int row);

public slots:
    void createRow();
    void modifyRow();
    void deleteRow();

private:
    std::unique_ptr<Ui::ReferenceList> m_ui;
    AppContext &m_context;
    const ReferenceTableDef &m_def;
    QList<ReferenceRow> m_rows;
    ListGrid *m_list = nullptr;
};

// Opens the list of a reference table modally, as the "&Fichier" menu entries do
// (referenceTable(table).menuCaption). The caller checks the page right
// (referenceTable(table).rightsPage) first.
void openReferenceList(AppContext &context, ReferenceTable table, QWidget *parent = nullptr);

} // namespace ravelin

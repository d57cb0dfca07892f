#pragma once

#include "editorsave.h"
#include "transfers.h"

#include <QDialog>
#include <QSqlRecord>

#include <memory>

namespace Ui {
class detail_volume_transfert;
}

namespace ravelin {

struct AppContext;

// detail_volume_transfert: one line of a transfer. A new line is laid out by the transfer's origin:
// from a lot, the lot button (the transfer's lot only) gives species, lot, volume line and unit;
// from a stock, the stock button (the transfer's zone only) gives the stock row; from elsewhere,
// species, quality and origin unit are chosen. A line changed keeps its origin, species, qualities
// and units: only the quantities and the coefficient change. "OK" checks, then runs the save.
class TransferLineDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Add, Change };
    TransferLineDialog(AppContext &context, const QSqlRecord &transfer, const TransferLine &line, Mode mode,
                       QWidget *parent = nullptr);
    ~TransferLineDialog() override;

    Ui::detail_volume_transfert *ui() const { return m_ui.get(); }
    void setSave(EditorSave save) { m_save = std::move(save); }
    // The line as the screen holds it now.
    TransferLine line() const;

public slots:
    void chooseVolumeLine();
    void chooseStock();
    void convert();
    void validate();

private:
    void showCoef();
    bool speciesListed() const;
    bool qualityListed() const;

    std::unique_ptr<Ui::detail_volume_transfert> m_ui;
    AppContext &m_context;
    QSqlRecord m_transfer;
    TransferLine m_line;
    Mode m_mode;
    QList<CoefChoice> m_coefs;
    EditorSave m_save;
};

} // namespace ravelin

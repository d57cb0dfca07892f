#include "analysisopeners.h"

#include "contractorcostsdialog.h"
#include "deliveryeditor.h"
#include "otheranalysisdialogs.h"
#include "salesdialog.h"

namespace ravelin {

QList<AnalysisOpener> analysisOpeners(AppContext &context, QWidget *parent)
{
    return {
        {QStringLiteral("Analyse livraisons CLIENTS ( date à date )"),
         [&context, parent] { openSales(context, parent); }},
        {QStringLiteral("Analyse Coûts INTERVENANTS ( date à date )"),
         [&context, parent] { openContractorCosts(context, parent); }},
        {QStringLiteral("Analyse CVO"), [&context, parent] { openCvo(context, parent); }},
        {QStringLiteral("Analyse % PEFC dans les COUPES de BOIS"), [&context, parent] { openPefc(context, parent); }},
        {QStringLiteral("Analyse Lieu de pesage ( date à date )"),
         [&context, parent] { openWeighingPlaces(context, parent); }}};
}

void installDeliveryPefcOpener(AppContext &context)
{
    DeliveryEditor::setPefcOpener([&context](QWidget *parent) { openPefc(context, parent); });
}

} // namespace ravelin

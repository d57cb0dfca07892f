#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace ravelin {

struct AppContext;

// The entries of the "&Analyses" menu, each with the screen it opens (the main window checks the
// "Analyse" page).
struct AnalysisOpener
{
    QString caption;
    std::function<void()> open;
};
QList<AnalysisOpener> analysisOpeners(AppContext &context, QWidget *parent);

// "Voir PEFC Dispo" of the delivery editor opens the PEFC share analysis.
void installDeliveryPefcOpener(AppContext &context);

} // namespace ravelin

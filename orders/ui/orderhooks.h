#pragma once

#include "firewoodstock.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace ravelin {

struct AppContext;

// What the order screens open from other parts of the program, installed by the program at
// start-up (app/screens.cpp). A button whose screen is not installed stays disabled.
struct OrderHooks
{
    // "BL": the delivery note of the order (number, origin "GRUME").
    std::function<void(AppContext &, int incCde, QWidget *parent)> deliveryNote;
    // "Consulter les STOCKS existants": the firewood stock list of every zone ("TOUS") as a picker.
    std::function<std::optional<FirewoodStockChoice>(AppContext &, QWidget *parent)> pickStock;
};

OrderHooks &orderHooks();

} // namespace ravelin

#pragma once

namespace ravelin {

class MainWindow;
struct AppContext;

// Puts every subsystem's screens behind the main window's menu entries, top-band buttons and
// tabs. An entry left out here stays disabled.
void installScreens(MainWindow &window, AppContext &context);

} // namespace ravelin

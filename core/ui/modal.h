#pragma once

#include <functional>

class QDialog;

namespace ravelin {

// Every modal screen is shown through here. The program runs the dialog's own event loop; a
// headless test installs a runner that fills the screen in and presses its buttons instead.
int runModal(QDialog &dialog);

using ModalRunner = std::function<int(QDialog &)>;
// Installs a runner (an empty one restores the normal behaviour); gives the previous one.
ModalRunner setModalRunner(ModalRunner runner);

} // namespace ravelin

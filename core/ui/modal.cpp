#include "modal.h"

#include <QDialog>

namespace ravelin {

static ModalRunner &currentRunner()
{
    static ModalRunner runner;
    return runner;
}

int runModal(QDialog &dialog)
{
    if (currentRunner()) return currentRunner()(dialog);
    return dialog.exec();
}

ModalRunner setModalRunner(ModalRunner runner)
{
    ModalRunner previous = std::move(currentRunner());
    currentRunner() = std::move(runner);
    return previous;
}

} // namespace ravelin

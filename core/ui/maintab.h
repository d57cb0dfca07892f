#pragma once

namespace ravelin {

// The content of one of the main window's four tabs. When its tab is shown, the main window runs
// search() the first time (once the program has started) and refresh() afterwards.
class MainTab
{
public:
    virtual ~MainTab() = default;

    // Runs the tab's search with its filters as they stand.
    virtual void search() = 0;
    // Re-runs the open lists keeping the current row; errors are ignored.
    virtual void refresh() = 0;
    // True once search() has run.
    virtual bool searched() const = 0;
};

} // namespace ravelin

#pragma once

#include <QObject>
#include <functional>

class QTimer;

namespace app {

// The first moments of a run, once the window is built: a second after creation the settings
// files are read, the window is minimised if they say so, and the first page opens: the
// lookup of a copy that arrived before (it waited in the search box), else the start page.
// The order is behaviour: the copy's lookup goes to the site the settings choose, and the
// minimising happens before any page.
//
// It runs once, on the first tick, and never again, also when a tick arrives while one of its
// steps processes events.
class StartSequence : public QObject {
    Q_OBJECT
public:
    struct Steps {
        std::function<void()> loadSettings;
        std::function<void()> loadCategoryVisibility;
        std::function<void()> applyMinimiseAtStart;
        // Looks up the copy that waits, if any; true when there was one.
        std::function<bool()> lookUpWaitingCopy;
        std::function<void()> openStartPage;
    };

    // How long after the window's creation the sequence runs.
    static constexpr int kDelayMs = 1000;

    StartSequence(Steps steps, QObject* parent = nullptr);

    // Starts the countdown: the window's creation ends with it.
    void arm();
    // A copy arrived before the sequence ran: it waits for it. A countdown that was stopped
    // starts again; one that runs is not put off.
    void copyWaiting();
    // The countdown's end: the steps in their order, the first time only.
    void run();
    bool hasRun() const { return hasRun_; }

private:
    Steps steps_;
    QTimer* timer_ = nullptr; // Timer1
    bool hasRun_ = false;
};

} // namespace app

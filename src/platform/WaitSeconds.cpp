#include "WaitSeconds.h"

#include "Clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

namespace tx {

namespace {

// Pause between two clock readings: short against the shortest wait (1 s), long
// enough that the wait costs next to no processor time.
constexpr int kPollMs = 5;

int msOfMinute(const LocalTime& t) {
    return t.second * 1000 + t.millisecond;
}

// Counts the wait for isWaiting() while it runs, also when a handler it calls throws.
class WaitScope {
public:
    WaitScope() { ++detail::waitDepth; }
    ~WaitScope() { --detail::waitDepth; }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};

} // namespace

void WaitSeconds(Clock& clock, int seconds) {
    const WaitScope scope;
    const int start = msOfMinute(clock.now());
    const int goal = seconds * 1000;
    for (;;) {
        int elapsed = msOfMinute(clock.now()) - start;
        if (elapsed < 0)
            elapsed += 60000; // the minute has turned over
        if (elapsed >= goal)
            break;
        clock.sleepMs(kPollMs);
        // Windows repaint and the desktop is answered; mouse and keyboard input stays
        // queued in the window system's queue until the wait is over.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    // Input held back meanwhile is handled as soon as the caller returns to the event
    // loop, in order, instead of when the next window-system event happens to arrive.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

} // namespace tx

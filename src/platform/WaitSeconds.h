#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tx {

class Clock;

// Returns when n whole seconds (n < 60) have passed on the clock's seconds and
// milliseconds of the minute. Windows repaint meanwhile; user input waits until it returns.
void WaitSeconds(Clock& clock, int seconds);

namespace detail {
// Defined here rather than in WaitSeconds.cpp so that the widgets, which do not link the
// platform library, can ask too.
inline thread_local int waitDepth = 0;
} // namespace detail

// How many WaitSeconds calls of this thread are running (they nest through the events a
// wait handles).
inline int waitDepth() {
    return detail::waitDepth;
}

inline bool isWaiting() {
    return waitDepth() > 0;
}

// A request that reaches a window as a non-input event during a wait (the close box)
// must not act inside it. Outside a wait this returns false and the caller acts at once;
// during one, retry is posted to context's thread and this returns true. retry is
// expected to call back here, so that it is posted again while the wait lasts. Nothing
// runs once context is gone.
inline bool postponeWhileWaiting(QObject* context, std::function<void()> retry) {
    if (!isWaiting())
        return false;
    QTimer::singleShot(0, context, [guard = QPointer<QObject>(context), retry = std::move(retry)] {
        if (guard)
            retry();
    });
    return true;
}

} // namespace tx

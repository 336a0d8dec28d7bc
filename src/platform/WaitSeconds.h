#pragma once

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

} // namespace tx

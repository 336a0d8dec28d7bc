#pragma once

namespace tx {

class Clock;

// Returns when n whole seconds (n < 60) have passed on the clock's seconds and
// milliseconds of the minute. Windows repaint meanwhile; user input waits until it returns.
void WaitSeconds(Clock& clock, int seconds);

} // namespace tx

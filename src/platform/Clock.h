#pragma once

namespace tx {

struct LocalTime {
    int second = 0;      // 0..59, seconds of the minute
    int millisecond = 0; // 0..999
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() = 0;
    // A short pause between two readings, so that a wait does not spin a core.
    virtual void sleepMs(int ms) = 0;
};

} // namespace tx

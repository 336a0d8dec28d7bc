#pragma once

#include "platform/Clock.h"

#include <deque>
#include <functional>

namespace tx {

// A clock for tests: its time is set by the test; every sleepMs(ms) advances it by ms
// (unless switched off), so a wait on it runs instantly. Readings can be scripted: while
// scripted readings are queued, now() answers them in turn (and the clock then goes on
// from the last one), e.g. to have a clock that does not move between two readings.
class TestClock : public Clock {
public:
    TestClock() = default;
    TestClock(int second, int millisecond) { set(second, millisecond); }

    LocalTime now() override;
    void sleepMs(int ms) override;

    void set(int second, int millisecond);
    void advance(int ms); // wraps at the minute
    LocalTime current() const;
    void setAdvanceOnSleep(bool on) { advanceOnSleep_ = on; }
    void scriptReadings(std::initializer_list<LocalTime> readings);

    int readings() const { return readings_; }
    int sleeps() const { return sleeps_; }
    long long sleptMs() const { return sleptMs_; }
    // Time advanced since construction (or since the last set()), not wrapped.
    long long advancedMs() const { return advancedMs_; }

    // Called after each reading / each sleep (after the clock has advanced), e.g. to
    // post events into the event queue while a wait runs.
    std::function<void(const LocalTime&)> onNow;
    std::function<void(int ms)> onSleep;

private:
    int ms_ = 0; // milliseconds of the minute, 0..59999
    bool advanceOnSleep_ = true;
    std::deque<LocalTime> script_;
    int readings_ = 0;
    int sleeps_ = 0;
    long long sleptMs_ = 0;
    long long advancedMs_ = 0;
};

} // namespace tx

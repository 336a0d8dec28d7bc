#include "TestClock.h"

namespace tx {

LocalTime TestClock::now() {
    if (!script_.empty()) {
        const LocalTime t = script_.front();
        script_.pop_front();
        ms_ = ((t.second * 1000 + t.millisecond) % 60000 + 60000) % 60000;
    }
    ++readings_;
    const LocalTime t = current();
    if (onNow)
        onNow(t);
    return t;
}

void TestClock::sleepMs(int ms) {
    ++sleeps_;
    sleptMs_ += ms;
    if (advanceOnSleep_)
        advance(ms);
    if (onSleep)
        onSleep(ms);
}

void TestClock::set(int second, int millisecond) {
    ms_ = ((second * 1000 + millisecond) % 60000 + 60000) % 60000;
    advancedMs_ = 0;
}

void TestClock::advance(int ms) {
    ms_ = ((ms_ + ms) % 60000 + 60000) % 60000;
    advancedMs_ += ms;
}

LocalTime TestClock::current() const {
    return LocalTime{ms_ / 1000, ms_ % 1000};
}

void TestClock::scriptReadings(std::initializer_list<LocalTime> readings) {
    script_.insert(script_.end(), readings.begin(), readings.end());
}

} // namespace tx

#include "SystemClock.h"

#include <QTime>
#include <chrono>
#include <thread>

namespace tx {

LocalTime SystemClock::now() {
    const QTime t = QTime::currentTime();
    return LocalTime{t.second(), t.msec()};
}

void SystemClock::sleepMs(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace tx

#pragma once

#include "Clock.h"

namespace tx {

// The machine's local time; sleeps the calling thread.
class SystemClock : public Clock {
public:
    LocalTime now() override;
    void sleepMs(int ms) override;
};

} // namespace tx

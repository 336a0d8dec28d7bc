#include "RecordingSoundService.h"

#include "TestClock.h"

namespace tx {

void RecordingSoundService::record(const QString& text) {
    Event e{text, std::nullopt};
    // A test clock is read without counting a reading or taking a scripted one.
    if (auto* testClock = dynamic_cast<TestClock*>(clock_))
        e.at = testClock->current();
    else if (clock_)
        e.at = clock_->now();
    events_.push_back(e);
}

void RecordingSoundService::play(const QString& path) {
    record(QStringLiteral("play ") + path);
    current_ = path;
}

void RecordingSoundService::stop() {
    record(QStringLiteral("stop"));
    current_.clear();
}

QStringList RecordingSoundService::lines() const {
    QStringList out;
    for (const Event& e : events_)
        out << e.text;
    return out;
}

QStringList RecordingSoundService::timedLines() const {
    QStringList out;
    for (const Event& e : events_) {
        if (e.at)
            out << QStringLiteral("%1.%2 %3")
                       .arg(e.at->second, 2, 10, QLatin1Char('0'))
                       .arg(e.at->millisecond, 3, 10, QLatin1Char('0'))
                       .arg(e.text);
        else
            out << e.text;
    }
    return out;
}

} // namespace tx

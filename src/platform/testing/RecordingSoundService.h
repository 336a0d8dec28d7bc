#pragma once

#include "platform/Clock.h"
#include "platform/SoundService.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace tx {

// Records the requests in order: "play <path>" (so play("") is "play ") and "stop".
// With a clock, each request also carries the clock's reading at that moment.
class RecordingSoundService : public SoundService {
public:
    explicit RecordingSoundService(Clock* clock = nullptr) : clock_(clock) {}

    void play(const QString& path) override;
    void stop() override;

    struct Event {
        QString text;                // "play <path>" or "stop"
        std::optional<LocalTime> at; // when a clock was given
    };
    const std::vector<Event>& events() const { return events_; }
    QStringList lines() const;
    // Events as "ss.mmm play <path>" (needs a clock; without one, as lines()).
    QStringList timedLines() const;
    // The sound that would be playing now: the last play's path, empty after a stop or
    // an empty play (the recorder knows no durations).
    QString current() const { return current_; }
    void clear() {
        events_.clear();
        current_.clear();
    }
    void setClock(Clock* clock) { clock_ = clock; }

private:
    void record(const QString& text);
    Clock* clock_;
    std::vector<Event> events_;
    QString current_;
};

} // namespace tx

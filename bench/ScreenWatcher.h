#pragma once

#include <QRect>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

struct xcb_connection_t;

namespace tx::bench {

// Watches a strip of the X screen, on a thread and X connection of its own, for a movie's
// colour to appear: the moment a picture reaches the screen, as a child would see it,
// with none of the looking done on the program's GUI thread.
class ScreenWatcher {
public:
    enum class Colour { Red, Blue };
    using Clock = std::chrono::steady_clock;

    // Null unless the display is a true-colour screen of 32 bits per pixel.
    static std::unique_ptr<ScreenWatcher> open();
    ~ScreenWatcher();

    // From now on: the first moment the strip (screen coordinates) clearly shows some of
    // mine and none of the other colour.
    void watch(const QRect& strip, Colour mine);
    // When that was seen, once it was.
    std::optional<Clock::time_point> seen() const;
    void stop();

private:
    ScreenWatcher(xcb_connection_t* connection, unsigned root);
    void run();
    bool matches(const QRect& strip, Colour mine);

    xcb_connection_t* connection_;
    unsigned root_;
    std::atomic<bool> quit_ = false;
    std::atomic<bool> seen_ = false;
    std::atomic<Clock::rep> seenAt_ = 0;
    mutable std::mutex mutex_;
    QRect strip_; // empty: not watching
    Colour mine_ = Colour::Red;
    std::thread thread_;
};

} // namespace tx::bench

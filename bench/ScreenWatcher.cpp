#include "ScreenWatcher.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace tx::bench {

namespace {

// Often enough to time a frame to a few milliseconds; a strip costs the X server a copy
// of some ten kilobytes.
constexpr auto kInterval = std::chrono::milliseconds(2);

} // namespace

std::unique_ptr<ScreenWatcher> ScreenWatcher::open() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return nullptr;
    }
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    bool bits32 = false;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
        if (f.data->depth == screen->root_depth)
            bits32 = f.data->bits_per_pixel == 32;
    if (screen->root_depth < 24 || !bits32 ||
        setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::unique_ptr<ScreenWatcher>(new ScreenWatcher(c, screen->root));
}

ScreenWatcher::ScreenWatcher(xcb_connection_t* connection, unsigned root)
    : connection_(connection), root_(root), thread_([this] { run(); }) {}

ScreenWatcher::~ScreenWatcher() {
    quit_ = true;
    thread_.join();
    xcb_disconnect(connection_);
}

void ScreenWatcher::watch(const QRect& strip, Colour mine) {
    const std::lock_guard lock(mutex_);
    seen_ = false;
    strip_ = strip;
    mine_ = mine;
}

void ScreenWatcher::stop() {
    const std::lock_guard lock(mutex_);
    strip_ = {};
}

std::optional<ScreenWatcher::Clock::time_point> ScreenWatcher::seen() const {
    if (!seen_)
        return std::nullopt;
    return Clock::time_point(Clock::duration(seenAt_.load()));
}

void ScreenWatcher::run() {
    while (!quit_) {
        QRect strip;
        Colour mine;
        {
            const std::lock_guard lock(mutex_);
            strip = seen_ ? QRect() : strip_;
            mine = mine_;
        }
        if (!strip.isEmpty() && matches(strip, mine)) {
            const auto now = Clock::now();
            const std::lock_guard lock(mutex_);
            if (strip_ == strip && mine_ == mine) { // not a watch replaced meanwhile
                seenAt_ = now.time_since_epoch().count();
                seen_ = true;
            }
        }
        std::this_thread::sleep_for(kInterval);
    }
}

bool ScreenWatcher::matches(const QRect& strip, Colour mine) {
    const auto cookie = xcb_get_image(
        connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, std::int16_t(strip.x()),
        std::int16_t(strip.y()), std::uint16_t(strip.width()), std::uint16_t(strip.height()), ~0u);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(connection_, cookie, nullptr);
    if (!reply)
        return false;
    const auto* px = reinterpret_cast<const std::uint8_t*>(xcb_get_image_data(reply));
    const int n = xcb_get_image_data_length(reply) / 4;
    int mineCount = 0, otherCount = 0;
    for (int i = 0; i < n; ++i) { // B, G, R, X
        const int b = px[4 * i], g = px[4 * i + 1], r = px[4 * i + 2];
        const bool red = r > 200 && g < 80 && b < 80;
        const bool blue = b > 200 && g < 80 && r < 80;
        mineCount += mine == Colour::Red ? red : blue;
        otherCount += mine == Colour::Red ? blue : red;
    }
    std::free(reply);
    return mineCount > 40 && otherCount == 0;
}

} // namespace tx::bench

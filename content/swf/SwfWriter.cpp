#include "SwfWriter.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace tx::swf {

namespace {

constexpr int kTwips = 20;

enum TagCode : int {
    End = 0,
    ShowFrame = 1,
    DefineShape = 2,
    SetBackgroundColor = 9,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DoAction = 12,
    FileAttributes = 69,
};

enum ActionCode : std::uint8_t {
    ActionGetUrl = 0x83,
    ActionPush = 0x96,
    ActionGetUrl2 = 0x9a,
};

void appendString(std::vector<std::uint8_t>& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
}

// An action record with a body: code, body length, body.
void action(std::vector<std::uint8_t>& out, std::uint8_t code,
            const std::vector<std::uint8_t>& body) {
    out.push_back(code);
    out.push_back(std::uint8_t(body.size() & 0xff));
    out.push_back(std::uint8_t(body.size() >> 8));
    out.insert(out.end(), body.begin(), body.end());
}

class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            current_ = std::uint8_t(current_ | (((value >> i) & 1u) << (7 - used_)));
            if (++used_ == 8)
                flush();
        }
    }
    void signedBits(std::int32_t value, int count) { bits(std::uint32_t(value), count); }
    void align() {
        if (used_ > 0)
            flush();
    }
    std::vector<std::uint8_t> take() {
        align();
        return std::move(out_);
    }

private:
    void flush() {
        out_.push_back(current_);
        current_ = 0;
        used_ = 0;
    }
    std::vector<std::uint8_t> out_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

int signedBitsFor(std::int32_t v) {
    int n = 1;
    while (v < -(std::int64_t(1) << (n - 1)) || v >= (std::int64_t(1) << (n - 1)))
        ++n;
    return n;
}

void append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

void u16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(std::uint8_t(v & 0xff));
    out.push_back(std::uint8_t((v >> 8) & 0xff));
}

void u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    u16(out, v & 0xffff);
    u16(out, v >> 16);
}

std::vector<std::uint8_t> rect(int xMin, int xMax, int yMin, int yMax) {
    const int n = std::max(
        {signedBitsFor(xMin), signedBitsFor(xMax), signedBitsFor(yMin), signedBitsFor(yMax)});
    BitWriter w;
    w.bits(std::uint32_t(n), 5);
    for (int v : {xMin, xMax, yMin, yMax})
        w.signedBits(v, n);
    return w.take();
}

std::int32_t twips(double px) {
    return std::int32_t(std::lround(px * kTwips));
}

} // namespace

SwfWriter::SwfWriter(int widthPx, int heightPx, int framesPerSecond)
    : width_(widthPx), height_(heightPx), fps_(framesPerSecond) {
    // Required first tag from version 8 on; no flags: no network, no metadata.
    std::vector<std::uint8_t> attrs;
    u32(attrs, 0);
    tag(FileAttributes, attrs);
}

void SwfWriter::tag(int code, const std::vector<std::uint8_t>& body) {
    if (body.size() < 0x3f) {
        u16(tags_, unsigned(code << 6) | unsigned(body.size()));
    } else {
        u16(tags_, unsigned(code << 6) | 0x3fu);
        u32(tags_, std::uint32_t(body.size()));
    }
    append(tags_, body);
}

void SwfWriter::setBackground(Rgb colour) {
    tag(SetBackgroundColor, {colour.r, colour.g, colour.b});
}

int SwfWriter::defineShape(const std::vector<Point>& polygon, Rgb fill) {
    std::vector<std::int32_t> xs, ys;
    for (const Point& p : polygon) {
        xs.push_back(twips(p.x));
        ys.push_back(twips(p.y));
    }
    const int id = nextId_++;
    std::vector<std::uint8_t> body;
    u16(body, unsigned(id));
    append(body,
           rect(*std::min_element(xs.begin(), xs.end()), *std::max_element(xs.begin(), xs.end()),
                *std::min_element(ys.begin(), ys.end()), *std::max_element(ys.begin(), ys.end())));
    body.push_back(1); // one fill style: solid
    body.push_back(0x00);
    body.push_back(fill.r);
    body.push_back(fill.g);
    body.push_back(fill.b);
    body.push_back(0); // no line styles

    BitWriter w;
    w.bits(1, 4); // fill index bits
    w.bits(0, 4); // line index bits
    // Style change: move to the first point, fill style 0 = 1.
    const int moveBits = std::max(signedBitsFor(xs[0]), signedBitsFor(ys[0]));
    w.bits(0, 1);
    w.bits(0b00011, 5); // new styles, line style, fill 1 off; fill 0 and move-to on
    w.bits(std::uint32_t(moveBits), 5);
    w.signedBits(xs[0], moveBits);
    w.signedBits(ys[0], moveBits);
    w.bits(1, 1);
    for (std::size_t i = 1; i <= xs.size(); ++i) {
        const std::size_t j = i % xs.size();
        const std::int32_t dx = xs[j] - xs[i - 1];
        const std::int32_t dy = ys[j] - ys[i - 1];
        if (dx == 0 && dy == 0)
            continue;
        const int n = std::max({signedBitsFor(dx), signedBitsFor(dy), 2});
        w.bits(1, 1); // edge
        w.bits(1, 1); // straight
        w.bits(std::uint32_t(n - 2), 4);
        w.bits(1, 1); // general line
        w.signedBits(dx, n);
        w.signedBits(dy, n);
    }
    w.bits(0, 6); // end of shape
    append(body, w.take());
    tag(DefineShape, body);
    return id;
}

void SwfWriter::place(int characterId, int depth) {
    std::vector<std::uint8_t> body{0x02}; // has character
    u16(body, unsigned(depth));
    u16(body, unsigned(characterId));
    tag(PlaceObject2, body);
}

void SwfWriter::remove(int depth) {
    std::vector<std::uint8_t> body;
    u16(body, unsigned(depth));
    tag(RemoveObject2, body);
}

void SwfWriter::loadMovie(const std::string& url, int level) {
    std::vector<std::uint8_t> body;
    appendString(body, url);
    appendString(body, "_level" + std::to_string(level));
    std::vector<std::uint8_t> actions;
    action(actions, ActionGetUrl, body);
    actions.push_back(0); // end of actions
    tag(DoAction, actions);
}

void SwfWriter::loadVariables(const std::string& url) {
    // Pushed as strings (type 0): the address, then the target; GetURL2 pops them.
    std::vector<std::uint8_t> push;
    push.push_back(0);
    appendString(push, url);
    push.push_back(0);
    appendString(push, "_root");
    std::vector<std::uint8_t> actions;
    action(actions, ActionPush, push);
    // Flags: no variables sent, target is a sprite path (bit 1), load variables (bit 0).
    action(actions, ActionGetUrl2, {0x03});
    actions.push_back(0);
    tag(DoAction, actions);
}

void SwfWriter::showFrame() {
    tag(ShowFrame, {});
    ++frames_;
}

std::vector<std::uint8_t> SwfWriter::finish() const {
    std::vector<std::uint8_t> rest = rect(0, width_ * kTwips, 0, height_ * kTwips);
    u16(rest, unsigned(fps_) << 8);
    u16(rest, unsigned(frames_));
    append(rest, tags_);
    u16(rest, End);

    std::vector<std::uint8_t> out{'F', 'W', 'S', 10};
    u32(out, std::uint32_t(8 + rest.size()));
    append(out, rest);
    return out;
}

std::vector<Point> strokePolygon(Point a, Point b, double thickness) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const double ux = len > 0 ? (b.x - a.x) / len : 1, uy = len > 0 ? (b.y - a.y) / len : 0;
    const double h = thickness / 2;
    const Point s{a.x - ux * h, a.y - uy * h}, e{b.x + ux * h, b.y + uy * h};
    const double nx = -uy * h, ny = ux * h;
    return {{s.x + nx, s.y + ny}, {e.x + nx, e.y + ny}, {e.x - nx, e.y - ny}, {s.x - nx, s.y - ny}};
}

namespace {

using Polyline = std::vector<Point>;

// Letters on a grid 6 wide: x-height from 4 to the baseline at 8, descender to 10,
// tone marks around 2.5.
const std::map<char, std::vector<Polyline>>& strokeFont() {
    static const std::map<char, std::vector<Polyline>> font{
        {'y', {{{0, 4}, {3, 8}}, {{6, 4}, {2, 10}}}},
        {'i', {{{3, 4}, {3, 8}}}},
        {'e', {{{0, 6}, {6, 6}, {5, 4}, {1, 4}, {0, 6}, {1, 8}, {6, 8}}}},
        {'r', {{{1, 4}, {1, 8}}, {{1, 5.5}, {3, 4}, {5, 4.3}}}},
        {'s', {{{6, 4}, {1, 4}, {0, 5}, {1, 6}, {5, 6}, {6, 7}, {5, 8}, {0, 8}}}},
        {'a', {{{1, 4}, {5, 4}, {6, 5}, {6, 8}}, {{6, 6}, {1, 6}, {0, 7}, {1, 8}, {6, 8}}}},
        {'n', {{{0, 4}, {0, 8}}, {{0, 5}, {1, 4}, {5, 4}, {6, 5}, {6, 8}}}},
        {'-', {{{1, 2.5}, {5, 2.5}}}},     // first tone (macron)
        {'`', {{{1.5, 1.2}, {3.5, 2.8}}}}, // fourth tone (grave)
    };
    return font;
}

struct Page {
    std::vector<std::vector<Point>> bars; // the character, as strokes
    std::string pinyin;                   // letters, a tone mark after its vowel
};

class Sample {
public:
    // A normal frame rate: the first frame is drawn as soon as the movie is loaded.
    static constexpr int kFps = 12;

    Sample() : w_(400, 300, kFps) { w_.setBackground({255, 250, 225}); }

    void shapes() {
        std::vector<Point> circle;
        for (int i = 0; i < 32; ++i) {
            const double t = 2 * std::numbers::pi * i / 32;
            circle.push_back({80 + 50 * std::cos(t), 150 + 50 * std::sin(t)});
        }
        put(w_.defineShape(circle, {230, 40, 40}));
        put(w_.defineShape({{150, 100}, {250, 100}, {250, 200}, {150, 200}}, {40, 170, 60}));
        put(w_.defineShape({{330, 95}, {390, 205}, {270, 205}}, {40, 80, 220}));
    }

    void character(const Page& page) {
        for (const auto& bar : page.bars)
            put(w_.defineShape(strokePolygon(bar[0], bar[1], 16), {20, 20, 20}));
        const double scale = 9, top = 175;
        double x = 200 - double(letters(page.pinyin)) * 8 * scale / 2;
        for (std::size_t i = 0; i < page.pinyin.size(); ++i) {
            const char c = page.pinyin[i];
            const bool mark = i + 1 < page.pinyin.size() &&
                              (page.pinyin[i + 1] == '-' || page.pinyin[i + 1] == '`');
            glyph(c, x, top, scale);
            if (mark)
                glyph(page.pinyin[++i], x, top, scale);
            x += 8 * scale;
        }
    }

    void hold(int seconds) {
        for (int i = 0; i < seconds * kFps; ++i)
            w_.showFrame();
        for (int d : depths_)
            w_.remove(d);
        depths_.clear();
    }

    std::vector<std::uint8_t> finish() const { return w_.finish(); }

private:
    static std::size_t letters(const std::string& s) {
        return std::size_t(
            std::count_if(s.begin(), s.end(), [](char c) { return c != '-' && c != '`'; }));
    }

    void glyph(char c, double x, double top, double scale) {
        for (const Polyline& line : strokeFont().at(c))
            for (std::size_t k = 1; k < line.size(); ++k)
                put(w_.defineShape(
                    strokePolygon({x + line[k - 1].x * scale, top + line[k - 1].y * scale},
                                  {x + line[k].x * scale, top + line[k].y * scale}, scale * 0.9),
                    {210, 30, 60}));
    }

    void put(int id) {
        w_.place(id, nextDepth_);
        depths_.push_back(nextDepth_++);
    }

    SwfWriter w_;
    int nextDepth_ = 1;
    std::vector<int> depths_;
};

} // namespace

std::vector<std::uint8_t> sampleCourseware() {
    Sample s;
    s.shapes();
    s.hold(2);
    const std::vector<Page> pages{
        {{{{150, 90}, {250, 90}}}, "yi-"},
        {{{{160, 50}, {240, 50}}, {{140, 120}, {260, 120}}}, "e`r"},
        {{{{155, 40}, {245, 40}}, {{165, 85}, {235, 85}}, {{140, 130}, {260, 130}}}, "sa-n"},
    };
    for (const Page& p : pages) {
        s.character(p);
        s.hold(2);
    }
    return s.finish();
}

} // namespace tx::swf

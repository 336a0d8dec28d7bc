#include "SwfWriter.h"
#include "web/CoursewarePages.h"

#include <gtest/gtest.h>
#include <set>

namespace tx::swf {
namespace {

// An independent reader of what the writer makes: header fields and the tag list.
struct Tag {
    int code;
    std::vector<std::uint8_t> body;
};
struct Movie {
    std::string signature;
    int version = 0;
    std::uint32_t length = 0;
    int widthTwips = 0, heightTwips = 0;
    double frameRate = 0;
    int frameCount = 0;
    std::vector<Tag> tags;
};

class BitReader {
public:
    BitReader(const std::vector<std::uint8_t>& d, std::size_t at) : d_(d), pos_(at * 8) {}
    std::uint32_t bits(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++pos_)
            v = (v << 1) | ((d_.at(pos_ / 8) >> (7 - pos_ % 8)) & 1u);
        return v;
    }
    std::int32_t signedBits(int n) {
        const std::uint32_t v = bits(n);
        return n > 0 && (v >> (n - 1)) ? std::int32_t(v | (~0u << n)) : std::int32_t(v);
    }
    std::size_t bytePos() const { return (pos_ + 7) / 8; }

private:
    const std::vector<std::uint8_t>& d_;
    std::size_t pos_;
};

unsigned u16(const std::vector<std::uint8_t>& d, std::size_t at) {
    return d.at(at) | (unsigned(d.at(at + 1)) << 8);
}

Movie read(const std::vector<std::uint8_t>& d) {
    Movie m;
    m.signature = std::string(d.begin(), d.begin() + 3);
    m.version = d.at(3);
    m.length = u16(d, 4) | (std::uint32_t(u16(d, 6)) << 16);
    BitReader r(d, 8);
    const int n = int(r.bits(5));
    const int xMin = r.signedBits(n), xMax = r.signedBits(n);
    const int yMin = r.signedBits(n), yMax = r.signedBits(n);
    m.widthTwips = xMax - xMin;
    m.heightTwips = yMax - yMin;
    std::size_t at = r.bytePos();
    m.frameRate = d.at(at + 1) + d.at(at) / 256.0;
    m.frameCount = int(u16(d, at + 2));
    at += 4;
    while (at < d.size()) {
        const unsigned header = u16(d, at);
        at += 2;
        std::size_t len = header & 0x3f;
        if (len == 0x3f) {
            len = u16(d, at) | (std::size_t(u16(d, at + 2)) << 16);
            at += 4;
        }
        m.tags.push_back({int(header >> 6), {d.begin() + long(at), d.begin() + long(at + len)}});
        at += len;
        if (m.tags.back().code == 0)
            break;
    }
    EXPECT_EQ(at, d.size()) << "bytes after the end tag";
    return m;
}

TEST(SwfWriter, SampleCoursewareIsAWellFormedMovieOfSeveralFrames) {
    const std::vector<std::uint8_t> bytes = sampleCourseware();
    const Movie m = read(bytes);
    EXPECT_EQ(m.signature, "FWS");
    EXPECT_EQ(m.version, 10);
    EXPECT_EQ(m.length, bytes.size());
    EXPECT_EQ(m.widthTwips, 400 * 20);
    EXPECT_EQ(m.heightTwips, 300 * 20);
    EXPECT_EQ(m.frameRate, 12.0);
    ASSERT_FALSE(m.tags.empty());
    EXPECT_EQ(m.tags.front().code, 69); // FileAttributes first
    EXPECT_EQ(m.tags.back().code, 0);

    int shown = 0;
    std::set<unsigned> defined, onStage;
    for (const Tag& t : m.tags) {
        if (t.code == 1)
            ++shown;
        if (t.code == 2) {
            defined.insert(u16(t.body, 0));
        }
        if (t.code == 26) {
            ASSERT_EQ(t.body.at(0), 0x02);
            EXPECT_TRUE(defined.count(u16(t.body, 3))) << "placed before it was defined";
            EXPECT_TRUE(onStage.insert(u16(t.body, 1)).second) << "depth taken";
        }
        if (t.code == 28) {
            EXPECT_EQ(onStage.erase(u16(t.body, 0)), 1u) << "removed an empty depth";
        }
    }
    EXPECT_EQ(shown, m.frameCount);
    // Shapes, then each character for two seconds.
    EXPECT_EQ(m.frameCount / m.frameRate, 8.0);
    EXPECT_GT(defined.size(), 20u); // shapes, three characters, their pinyin
}

TEST(SwfWriter, ShapeRecordsCloseThePolygonInTwips) {
    SwfWriter w(100, 100, 12);
    const int id = w.defineShape({{10, 10}, {60, 10}, {60, 35}}, {1, 2, 3});
    w.place(id, 1);
    w.showFrame();
    const Movie m = read(w.finish());
    ASSERT_EQ(m.tags.size(), 5u);
    const std::vector<std::uint8_t>& b = m.tags[1].body;
    ASSERT_EQ(m.tags[1].code, 2);
    BitReader bounds(b, 2);
    const int n = int(bounds.bits(5));
    EXPECT_EQ(bounds.signedBits(n), 200);
    EXPECT_EQ(bounds.signedBits(n), 1200);
    EXPECT_EQ(bounds.signedBits(n), 200);
    EXPECT_EQ(bounds.signedBits(n), 700);
    std::size_t at = bounds.bytePos();
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + long(at), b.begin() + long(at + 6)),
              (std::vector<std::uint8_t>{1, 0, 1, 2, 3, 0}));
    BitReader r(b, at + 6);
    ASSERT_EQ(r.bits(4), 1u);
    ASSERT_EQ(r.bits(4), 0u);
    ASSERT_EQ(r.bits(6), 0b000011u); // style change: fill 0 and move-to
    const int moveBits = int(r.bits(5));
    int x = r.signedBits(moveBits), y = r.signedBits(moveBits);
    EXPECT_EQ(r.bits(1), 1u);
    for (int edge = 0; edge < 3; ++edge) {
        ASSERT_EQ(r.bits(2), 0b11u);
        const int bits = int(r.bits(4)) + 2;
        ASSERT_EQ(r.bits(1), 1u);
        x += r.signedBits(bits);
        y += r.signedBits(bits);
    }
    EXPECT_EQ(r.bits(6), 0u);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 200);
    EXPECT_EQ(m.frameRate, 12.0);
    EXPECT_EQ(m.frameCount, 1);
}

// The loaders a courseware test needs, as a Flash player reads them: the frame's DoAction
// holds GetURL (a movie into a level) and Push + GetURL2 (variables into _root).
TEST(SwfWriter, LoaderActionsAreDoActionRecordsOfTheFrame) {
    SwfWriter w(100, 100, 12);
    w.loadMovie("file:///tmp/a.swf", 1);
    w.loadVariables("secret.txt");
    w.showFrame();
    const Movie m = read(w.finish());
    ASSERT_EQ(m.tags.size(), 5u);
    using Bytes = std::vector<std::uint8_t>;
    auto text = [](const std::string& s) {
        Bytes b(s.begin(), s.end());
        b.push_back(0);
        return b;
    };
    Bytes getUrl{0x83, 26, 0};
    for (const Bytes& part : {text("file:///tmp/a.swf"), text("_level1")})
        getUrl.insert(getUrl.end(), part.begin(), part.end());
    getUrl.push_back(0);
    EXPECT_EQ(m.tags[1].code, 12);
    EXPECT_EQ(m.tags[1].body, getUrl);

    Bytes push{0x96, 19, 0, 0};
    const Bytes url = text("secret.txt"), target = text("_root");
    push.insert(push.end(), url.begin(), url.end());
    push.push_back(0);
    push.insert(push.end(), target.begin(), target.end());
    push.insert(push.end(), {0x9a, 1, 0, 0x03, 0});
    EXPECT_EQ(m.tags[2].code, 12);
    EXPECT_EQ(m.tags[2].body, push);
    EXPECT_EQ(m.tags[3].code, 1);
}

// The courseware page's own blank movie, played once to ready the player.
TEST(SwfWriter, ThePlayersBlankMovieIsWellFormed) {
    const QByteArray blank = blankMovie();
    const Movie m = read(std::vector<std::uint8_t>(blank.begin(), blank.end()));
    EXPECT_EQ(m.signature, "FWS");
    EXPECT_EQ(m.length, std::uint32_t(blank.size()));
    EXPECT_EQ(m.widthTwips, 20);
    EXPECT_EQ(m.heightTwips, 20);
    EXPECT_EQ(m.frameCount, 1);
    ASSERT_EQ(m.tags.size(), 2u);
    EXPECT_EQ(m.tags[0].code, 1);
    EXPECT_EQ(m.tags[1].code, 0);
}

} // namespace
} // namespace tx::swf

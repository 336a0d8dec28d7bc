#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tx::swf {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// A point in pixels; the writer converts to twips (1/20 pixel).
struct Point {
    double x = 0, y = 0;
};

// Writes an uncompressed SWF (version 10) of filled polygons shown frame by frame, the
// smallest subset of the format that every Flash player (Ruffle included) draws.
class SwfWriter {
public:
    SwfWriter(int widthPx, int heightPx, int framesPerSecond);

    void setBackground(Rgb colour);
    // A closed polygon filled with one colour; answers its character id.
    int defineShape(const std::vector<Point>& polygon, Rgb fill);
    void place(int characterId, int depth);
    void remove(int depth);
    // Actions of the coming frame (AVM1), run when it is shown: another movie loaded into
    // a level (loadMovieNum), variables loaded from an address into the root timeline
    // (loadVariables). url is used as it is (any scheme, or relative to the movie).
    void loadMovie(const std::string& url, int level);
    void loadVariables(const std::string& url);
    void showFrame();
    int frameCount() const { return frames_; }
    // The whole file: header, the tags so far and the end tag.
    std::vector<std::uint8_t> finish() const;

private:
    void tag(int code, const std::vector<std::uint8_t>& body);

    int width_, height_, fps_;
    int frames_ = 0;
    int nextId_ = 1;
    std::vector<std::uint8_t> tags_;
};

// A thick straight stroke from a to b as a polygon (square caps, so strokes join).
std::vector<Point> strokePolygon(Point a, Point b, double thickness);

// The sample courseware: coloured shapes, then the characters 一 二 三 with their pinyin.
std::vector<std::uint8_t> sampleCourseware();

} // namespace tx::swf

#pragma once

#include "SwfWriter.h"

#include <QFile>
#include <QString>

namespace tx::movies {

// Writes the movie to path; answers whether the whole file was written.
inline bool save(const swf::SwfWriter& movie, const QString& path) {
    const std::vector<std::uint8_t> bytes = movie.finish();
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(reinterpret_cast<const char*>(bytes.data()),
                                                   qint64(bytes.size())) == qint64(bytes.size());
}

// One big blue square that stays for the given frames: nothing of the sample's red.
inline swf::SwfWriter blueMovie(int frames) {
    swf::SwfWriter w(400, 300, 12);
    w.setBackground({255, 255, 255});
    w.place(w.defineShape({{50, 50}, {350, 50}, {350, 250}, {50, 250}}, {0, 0, 255}), 1);
    for (int i = 0; i < frames; ++i)
        w.showFrame();
    return w;
}

} // namespace tx::movies

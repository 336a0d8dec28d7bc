#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cmath>

namespace tx::test {

// Writes a PCM .wav file (a sine tone) with a hand-made RIFF header.
inline bool writeToneWav(const QString& path, double seconds, int rate = 22050, int channels = 1,
                         int bits = 16, double hz = 440.0) {
    const int frames = int(seconds * rate);
    const int bytesPerSample = bits / 8;
    QByteArray data;
    data.reserve(frames * channels * bytesPerSample);
    for (int i = 0; i < frames; ++i) {
        const double v = 0.3 * std::sin(2.0 * M_PI * hz * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                data.append(char(quint8(128 + int(v * 127))));
            } else {
                char s[2];
                qToLittleEndian<qint16>(qint16(v * 32767), s);
                data.append(s, 2);
            }
        }
    }
    auto u32 = [](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        return QByteArray(b, 4);
    };
    auto u16 = [](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        return QByteArray(b, 2);
    };
    QByteArray out;
    out += "RIFF";
    out += u32(quint32(36 + data.size()));
    out += "WAVE";
    out += "fmt ";
    out += u32(16);
    out += u16(1); // PCM
    out += u16(quint16(channels));
    out += u32(quint32(rate));
    out += u32(quint32(rate * channels * bytesPerSample));
    out += u16(quint16(channels * bytesPerSample));
    out += u16(quint16(bits));
    out += "data";
    out += u32(quint32(data.size()));
    out += data;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}

} // namespace tx::test

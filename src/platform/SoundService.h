#pragma once

#include <QString>

namespace tx {

// Asynchronous playback of one .wav file at a time. A new play or a stop ends the
// sound still playing; a missing or unplayable file plays nothing and reports nothing.
class SoundService {
public:
    virtual ~SoundService() = default;
    // A bare name resolves against the process's working directory.
    virtual void play(const QString& path) = 0;
    virtual void stop() = 0;
};

} // namespace tx

#pragma once

#include "SoundService.h"

#include <QtGlobal>
#include <memory>

namespace tx {

// Plays .wav files on SDL2's audio thread, so that a sound goes on while the GUI thread
// is blocked. The audio device is opened on the first play and closed again when it has
// been idle for a while (so an idle program keeps no audio stream open). When SDL's
// audio cannot be initialised or no device can be opened, nothing is ever played.
class SdlSoundService : public SoundService {
public:
    SdlSoundService();
    ~SdlSoundService() override;
    SdlSoundService(const SdlSoundService&) = delete;
    SdlSoundService& operator=(const SdlSoundService&) = delete;

    // Ends the current sound and returns at once; path is then loaded with SDL_LoadWAV and
    // converted to the device's format on a loader thread, and starts as soon as it is
    // ready, unless another play or a stop came meanwhile. An empty path only stops; a
    // missing or unplayable file plays nothing and reports nothing.
    void play(const QString& path) override;
    void stop() override;
    // Blocks until the last play request has started or been found unplayable (tests and
    // diagnostics).
    void waitForLoad();

    // Observation, for tests and diagnostics.
    bool isPlaying() const;
    // Sample frames of the current (or last) sound handed to the device so far, and in all.
    qint64 framesDelivered() const;
    qint64 framesTotal() const;
    // The open device's sample rate; 0 when no device is open.
    int deviceFrequency() const;
    bool deviceOpen() const;
    // How long the device stays open after the last sound has ended (default 3000 ms).
    // Needs a Qt event loop; without an application object the device stays open.
    void setIdleCloseDelay(int ms);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace tx

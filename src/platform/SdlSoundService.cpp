#include "SdlSoundService.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace tx {

struct SdlSoundService::Impl {
    bool initTried = false;
    bool initOk = false;
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec spec{}; // the device's format

    // Shared with the audio thread: written only under SDL_LockAudioDevice.
    std::vector<Uint8> samples; // the current sound in the device's format
    size_t position = 0;        // bytes handed to the device
    int frameBytes = 1;

    // Read without the lock by the observers.
    std::atomic<bool> playing{false};
    std::atomic<qint64> delivered{0};
    std::atomic<qint64> total{0};

    int idleCloseDelayMs = 3000;
    std::unique_ptr<QTimer> idleTimer;

    // Loading and converting a file takes time that grows with its length, so it happens on
    // a loader thread; the newest request wins. generation counts plays and stops: a loaded
    // sound whose request is no longer the newest is dropped.
    struct Request {
        QString path;
        SDL_AudioSpec spec{};
        quint64 generation = 0;
    };
    std::atomic<quint64> generation{0};
    std::mutex loaderMutex; // guards request, hasRequest, quit, loading, and device's life
    std::condition_variable loaderWake;
    std::condition_variable loaderIdle;
    Request request;
    bool hasRequest = false;
    bool loading = false;
    bool quit = false;
    std::thread loader;

    void loaderLoop();
    void install(std::vector<Uint8> converted, quint64 forGeneration);
    bool loadPending();

    static void SDLCALL feed(void* userdata, Uint8* stream, int len);
    bool ensureDevice();
    void closeDevice();
    void clearSound(); // under the lock when a device is open
    void scheduleIdleClose();
    void closeIfIdle();
};

void SDLCALL SdlSoundService::Impl::feed(void* userdata, Uint8* stream, int len) {
    auto* d = static_cast<Impl*>(userdata);
    size_t done = 0;
    const size_t wanted = static_cast<size_t>(len);
    if (d->playing.load(std::memory_order_relaxed)) {
        done = std::min(wanted, d->samples.size() - d->position);
        std::memcpy(stream, d->samples.data() + d->position, done);
        d->position += done;
        d->delivered.store(qint64(d->position / size_t(d->frameBytes)));
        if (d->position >= d->samples.size())
            d->playing.store(false);
    }
    if (done < wanted)
        std::memset(stream + done, d->spec.silence, wanted - done);
}

bool SdlSoundService::Impl::ensureDevice() {
    if (!initTried) {
        initTried = true;
        // Otherwise SDL takes over SIGINT and SIGTERM and the program no longer ends when
        // the desktop or a user asks it to.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "TongXue");
        initOk = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    if (!initOk)
        return false;
    if (device != 0)
        return true;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &Impl::feed;
    want.userdata = this;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID opened =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (opened == 0)
        return false;
    {
        const std::lock_guard lock(loaderMutex); // the loader reads them
        device = opened;
        spec = have;
        frameBytes = std::max(1, int(SDL_AUDIO_BITSIZE(spec.format) / 8) * int(spec.channels));
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlSoundService::Impl::closeDevice() {
    const std::lock_guard lock(loaderMutex);
    if (device == 0)
        return;
    SDL_CloseAudioDevice(device); // joins the audio thread
    device = 0;
    playing = false;
}

bool SdlSoundService::Impl::loadPending() {
    const std::lock_guard lock(loaderMutex);
    return hasRequest || loading;
}

namespace {

// The file in the device's format, whole frames only; empty when it cannot be played.
std::vector<Uint8> loadConverted(const QString& path, const SDL_AudioSpec& device) {
    SDL_AudioSpec fileSpec{};
    Uint8* fileData = nullptr;
    Uint32 fileBytes = 0;
    const QByteArray name = QFile::encodeName(path);
    if (!SDL_LoadWAV(name.constData(), &fileSpec, &fileData, &fileBytes))
        return {}; // missing or not a playable .wav: nothing is played, nothing reported

    // The whole file is converted at once (SDL_AudioCVT): an SDL_AudioStream of this SDL
    // version drops the last 512 source frames when it resamples upwards.
    std::vector<Uint8> converted;
    SDL_AudioCVT cvt;
    const int built = SDL_BuildAudioCVT(&cvt, fileSpec.format, fileSpec.channels, fileSpec.freq,
                                        device.format, device.channels, device.freq);
    if (built >= 0 && fileBytes > 0) {
        cvt.len = int(fileBytes);
        converted.resize(size_t(cvt.len) * size_t(std::max(1, cvt.len_mult)));
        std::memcpy(converted.data(), fileData, fileBytes);
        cvt.buf = converted.data();
        if (built == 0 || SDL_ConvertAudio(&cvt) == 0)
            converted.resize(size_t(built == 0 ? cvt.len : cvt.len_cvt));
        else
            converted.clear();
    }
    SDL_FreeWAV(fileData);
    const size_t frameBytes =
        size_t(std::max(1, int(SDL_AUDIO_BITSIZE(device.format) / 8) * int(device.channels)));
    converted.resize(converted.size() - converted.size() % frameBytes);
    return converted;
}

} // namespace

void SdlSoundService::Impl::loaderLoop() {
    std::unique_lock lock(loaderMutex);
    for (;;) {
        loaderWake.wait(lock, [this] { return quit || hasRequest; });
        if (quit)
            return;
        Request r = std::move(request);
        hasRequest = false;
        loading = true;
        lock.unlock();
        std::vector<Uint8> converted;
        if (r.generation == generation.load())
            converted = loadConverted(r.path, r.spec);
        lock.lock();
        // Under loaderMutex the device cannot be closed meanwhile.
        if (!converted.empty())
            install(std::move(converted), r.generation);
        loading = false;
        loaderIdle.notify_all();
    }
}

void SdlSoundService::Impl::install(std::vector<Uint8> converted, quint64 forGeneration) {
    if (device == 0)
        return;
    SDL_LockAudioDevice(device);
    // Checked under the device lock, which stop() takes too: a later play or stop wins.
    if (forGeneration == generation.load()) {
        samples = std::move(converted);
        position = 0;
        delivered = 0;
        total = qint64(samples.size() / size_t(frameBytes));
        playing = true;
    }
    SDL_UnlockAudioDevice(device);
}

void SdlSoundService::Impl::clearSound() {
    playing = false;
    samples.clear();
    position = 0;
}

void SdlSoundService::Impl::scheduleIdleClose() {
    if (!QCoreApplication::instance())
        return;
    if (!idleTimer) {
        idleTimer = std::make_unique<QTimer>();
        idleTimer->setSingleShot(true);
        QObject::connect(idleTimer.get(), &QTimer::timeout, [this] { closeIfIdle(); });
    }
    const qint64 left = spec.freq > 0 ? (total - delivered) * 1000 / spec.freq : 0;
    idleTimer->start(int(std::min<qint64>(left + idleCloseDelayMs, 24 * 3600 * 1000)));
}

void SdlSoundService::Impl::closeIfIdle() {
    if (playing || loadPending())
        scheduleIdleClose();
    else
        closeDevice();
}

SdlSoundService::SdlSoundService() : d(std::make_unique<Impl>()) {}

SdlSoundService::~SdlSoundService() {
    if (d->loader.joinable()) {
        {
            const std::lock_guard lock(d->loaderMutex);
            d->quit = true;
        }
        d->loaderWake.notify_all();
        d->loader.join();
    }
    d->idleTimer.reset();
    d->closeDevice();
    if (d->initOk)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundService::stop() {
    ++d->generation; // a sound still loading will not start
    if (d->device == 0)
        return;
    SDL_LockAudioDevice(d->device);
    d->clearSound();
    SDL_UnlockAudioDevice(d->device);
    d->scheduleIdleClose();
}

void SdlSoundService::play(const QString& path) {
    stop();
    if (path.isEmpty() || !d->ensureDevice())
        return;
    {
        const std::lock_guard lock(d->loaderMutex);
        d->request = {path, d->spec, d->generation.load()};
        d->hasRequest = true;
        if (!d->loader.joinable())
            d->loader = std::thread([this] { d->loaderLoop(); });
    }
    d->loaderWake.notify_all();
    d->scheduleIdleClose();
}

void SdlSoundService::waitForLoad() {
    std::unique_lock lock(d->loaderMutex);
    d->loaderIdle.wait(lock, [this] { return !d->hasRequest && !d->loading; });
}

bool SdlSoundService::isPlaying() const {
    return d->playing.load();
}
qint64 SdlSoundService::framesDelivered() const {
    return d->delivered.load();
}
qint64 SdlSoundService::framesTotal() const {
    return d->total.load();
}
int SdlSoundService::deviceFrequency() const {
    return d->device != 0 ? d->spec.freq : 0;
}
bool SdlSoundService::deviceOpen() const {
    return d->device != 0;
}
void SdlSoundService::setIdleCloseDelay(int ms) {
    d->idleCloseDelayMs = std::max(0, ms);
}

} // namespace tx

// A play request for a 60 s recording (44.1 kHz stereo, 10 MB): how long play() holds the
// calling (GUI) thread, and how long until the sound is playing. Goal: play() returns in
// well under a frame (16 ms) whatever the file's length.
#include "platform/SdlSoundService.h"

#include "WavFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

void BM_PlayLongRecording(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("minute.wav"));
    if (!tx::test::writeToneWav(path, double(state.range(0)), 44100, 2)) {
        state.SkipWithError("cannot write the recording");
        return;
    }
    tx::SdlSoundService sound;
    sound.play(path); // opens the device once
    sound.waitForLoad();
    double callMs = 0, startMs = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        sound.play(path);
        const auto t1 = Clock::now();
        sound.waitForLoad();
        const auto t2 = Clock::now();
        if (!sound.isPlaying())
            state.SkipWithError("the recording did not play");
        callMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        startMs += std::chrono::duration<double, std::milli>(t2 - t0).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.counters["play_call_ms"] = callMs / double(state.iterations());
    state.counters["until_playing_ms"] = startMs / double(state.iterations());
}
BENCHMARK(BM_PlayLongRecording)->Arg(60)->Arg(1)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

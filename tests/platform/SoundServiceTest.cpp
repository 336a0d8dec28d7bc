#include "WavFile.h"
#include "platform/SdlSoundService.h"
#include "platform/SystemClock.h"
#include "platform/WaitSeconds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace tx {
namespace {

// SDL's dummy driver "plays" in real time without a sound card.
const bool kDummyDriver = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A play request and the loading it starts; the loading's own timing is left to the
// benchmark.
void playLoaded(SdlSoundService& sound, const QString& path) {
    sound.play(path);
    sound.waitForLoad();
}

class SoundService : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(test::writeToneWav(file("long.wav"), 1.5));
        ASSERT_TRUE(test::writeToneWav(file("short.wav"), 0.25, 44100, 2));
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(SoundService, PlaysOnWhileTheCallingThreadSleeps) {
    SdlSoundService sound;
    playLoaded(sound, file("long.wav"));
    ASSERT_TRUE(sound.deviceOpen()) << "no audio device (SDL_AUDIODRIVER=dummy expected)";
    EXPECT_TRUE(sound.isPlaying());
    sleepMs(300); // the calling (GUI) thread is blocked
    const qint64 frames = sound.framesDelivered();
    EXPECT_GT(frames, sound.deviceFrequency() / 10); // more than 0.1 s handed over
    EXPECT_LT(frames, sound.framesTotal());
    EXPECT_TRUE(sound.isPlaying());
    sleepMs(100);
    EXPECT_GT(sound.framesDelivered(), frames); // still advancing
}

TEST_F(SoundService, ConvertsTheFileToTheDeviceFormat) {
    SdlSoundService sound;
    playLoaded(sound, file("long.wav")); // 22050 Hz mono, 1.5 s
    ASSERT_TRUE(sound.deviceOpen());
    const double seconds = double(sound.framesTotal()) / sound.deviceFrequency();
    EXPECT_NEAR(seconds, 1.5, 0.02);
}

TEST_F(SoundService, PlaysEveryCommonPcmLayout) {
    struct Layout {
        int rate, channels, bits;
    };
    for (const Layout& l : {Layout{8000, 1, 8}, Layout{11025, 2, 8}, Layout{22050, 1, 16},
                            Layout{44100, 2, 16}, Layout{48000, 2, 16}}) {
        SCOPED_TRACE(testing::Message() << l.rate << " Hz, " << l.channels << " ch, " << l.bits);
        const QString path = file(QStringLiteral("layout.wav"));
        ASSERT_TRUE(test::writeToneWav(path, 0.5, l.rate, l.channels, l.bits));
        SdlSoundService sound;
        playLoaded(sound, path);
        EXPECT_TRUE(sound.isPlaying());
        EXPECT_NEAR(double(sound.framesTotal()) / sound.deviceFrequency(), 0.5, 0.02);
    }
}

TEST_F(SoundService, ANewPlayEndsTheCurrentSound) {
    SdlSoundService sound;
    playLoaded(sound, file("long.wav"));
    sleepMs(200);
    const qint64 longTotal = sound.framesTotal();
    playLoaded(sound, file("short.wav"));
    EXPECT_LT(sound.framesTotal(), longTotal); // the short one is now the current sound
    EXPECT_LT(sound.framesDelivered(), sound.framesTotal());
    sleepMs(600); // the short one is over; the long one would still be playing
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(sound.framesDelivered(), sound.framesTotal());
}

// Loading happens after play() has returned; whatever the caller asks meanwhile wins over
// the sound still loading.
TEST_F(SoundService, ALaterPlayOrStopWinsOverASoundStillLoading) {
    ASSERT_TRUE(test::writeToneWav(file("minute.wav"), 60.0, 44100, 2));
    SdlSoundService sound;
    sound.play(file("minute.wav"));
    playLoaded(sound, file("short.wav"));
    EXPECT_NEAR(double(sound.framesTotal()) / sound.deviceFrequency(), 0.25, 0.02);

    sound.play(file("minute.wav"));
    sound.stop();
    sound.waitForLoad();
    EXPECT_FALSE(sound.isPlaying());

    playLoaded(sound, file("minute.wav"));
    EXPECT_TRUE(sound.isPlaying());
    EXPECT_NEAR(double(sound.framesTotal()) / sound.deviceFrequency(), 60.0, 0.05);
}

TEST_F(SoundService, StopEndsTheSound) {
    SdlSoundService sound;
    playLoaded(sound, file("long.wav"));
    sleepMs(100);
    sound.stop();
    EXPECT_FALSE(sound.isPlaying());
    const qint64 frames = sound.framesDelivered();
    sleepMs(150);
    EXPECT_EQ(sound.framesDelivered(), frames);
}

TEST_F(SoundService, PlayingAnEmptyNameStops) {
    SdlSoundService sound;
    playLoaded(sound, file("long.wav"));
    sleepMs(50);
    playLoaded(sound, QString());
    EXPECT_FALSE(sound.isPlaying());
}

TEST_F(SoundService, ASoundPlaysToItsEnd) {
    SdlSoundService sound;
    playLoaded(sound, file("short.wav"));
    sleepMs(700);
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(sound.framesDelivered(), sound.framesTotal());
}

TEST_F(SoundService, MissingOrUnplayableFilesPlayNothing) {
    QFile garbage(file("garbage.wav"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919) & 0xff);
    garbage.write(noise);
    garbage.close();
    QFile truncated(file("truncated.wav"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(QByteArray("RIFF\x24\x10\0\0WAVEfmt ", 16));
    truncated.close();
    QFile empty(file("empty.wav"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();

    SdlSoundService sound;
    for (const QString& name : {file("missing.wav"), file("garbage.wav"), file("truncated.wav"),
                                file("empty.wav"), dir.path(), QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(name.toStdString());
        playLoaded(sound, file("long.wav"));
        EXPECT_TRUE(sound.isPlaying());
        playLoaded(sound, name); // ends the current sound, plays nothing, reports nothing
        EXPECT_FALSE(sound.isPlaying());
    }
}

TEST_F(SoundService, ABareNameResolvesAgainstTheWorkingDirectory) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    SdlSoundService sound;
    playLoaded(sound, QStringLiteral("short.wav"));
    const bool playing = sound.isPlaying();
    QDir::setCurrent(before);
    EXPECT_TRUE(playing);
}

TEST_F(SoundService, PathsWithBlanksAndChineseCharactersPlay) {
    const QString path = file(QStringLiteral("字语音库/发音 一.wav"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    ASSERT_TRUE(test::writeToneWav(path, 0.3));
    SdlSoundService sound;
    playLoaded(sound, path);
    EXPECT_TRUE(sound.isPlaying());
}

TEST_F(SoundService, PlaysOnDuringWaitSeconds) {
    SdlSoundService sound;
    SystemClock clock;
    playLoaded(sound, file("long.wav"));
    WaitSeconds(clock, 1);
    EXPECT_TRUE(sound.isPlaying());
    EXPECT_GT(sound.framesDelivered(), sound.deviceFrequency() * 8 / 10);
}

TEST_F(SoundService, TheDeviceIsClosedWhenIdle) {
    SdlSoundService sound;
    sound.setIdleCloseDelay(100);
    playLoaded(sound, file("short.wav"));
    EXPECT_TRUE(sound.deviceOpen());
    QTest::qWait(100);
    EXPECT_TRUE(sound.deviceOpen()); // still playing
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sound.deviceOpen(); }, 3000));
    playLoaded(sound, file("short.wav")); // and opened again on the next play
    EXPECT_TRUE(sound.isPlaying());
}

TEST_F(SoundService, WithoutAudioNothingIsPlayedAndNothingFails) {
    // No other service is alive here, so SDL's audio starts anew with a driver that does
    // not exist.
    const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    {
        SdlSoundService sound;
        playLoaded(sound, file("long.wav"));
        EXPECT_FALSE(sound.isPlaying());
        EXPECT_FALSE(sound.deviceOpen());
        sound.stop();
    }
    qputenv("SDL_AUDIODRIVER", driver);
    SdlSoundService again;
    playLoaded(again, file("short.wav"));
    EXPECT_TRUE(again.isPlaying());
}

} // namespace
} // namespace tx

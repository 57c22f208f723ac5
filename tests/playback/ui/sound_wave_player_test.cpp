#include "playback/ui/sound_wave_player.h"

#include "test_support.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <vector>

namespace lumavo {
namespace {

bool writeTone(const QString& path, int format)
{
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = format;
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (f == nullptr)
        return false;
    std::vector<short> samples(800, 1000);
    sf_write_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(f);
    return true;
}

TEST(SoundWavePlayer, OpenChecksTheFileAtOnce)
{
    test::TempDir dir;
    ASSERT_TRUE(writeTone(dir.file("ok.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    ASSERT_TRUE(writeTone(dir.file("tone.aiff"), SF_FORMAT_AIFF | SF_FORMAT_PCM_16));
    ASSERT_TRUE(test::writeAll(dir.file("text.wav"), "RIFF but not really a wave"));
    QByteArray cut = test::readAll(dir.file("ok.wav")).left(30);
    ASSERT_TRUE(test::writeAll(dir.file("cut.wav"), cut));

    SoundWavePlayer player;
    QString error;
    EXPECT_TRUE(player.open(dir.file("ok.wav"), &error)) << error.toStdString();
    EXPECT_EQ(player.currentFile(), dir.file("ok.wav"));
    for (const char* bad : {"missing.wav", "text.wav", "tone.aiff", "cut.wav"}) {
        error.clear();
        EXPECT_FALSE(player.open(dir.file(bad), &error)) << bad;
        EXPECT_FALSE(error.isEmpty()) << bad;
        EXPECT_TRUE(player.currentFile().isEmpty());
    }
    EXPECT_FALSE(player.open(QString(), &error));
}

TEST(SoundWavePlayer, PlayAndCloseNeverBlockOrFailWithoutADevice)
{
    test::TempDir dir;
    ASSERT_TRUE(writeTone(dir.file("ok.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    SoundWavePlayer player;
    player.play();   // nothing opened: nothing happens
    ASSERT_TRUE(player.open(dir.file("ok.wav")));
    player.play();
    player.close();
    EXPECT_TRUE(player.currentFile().isEmpty());
}

// Regression: a wave with an extensible header (as sox writes it) passed the check and played
// silently. Every wave the check accepts decodes to the samples it holds.
TEST(SoundWavePlayer, ExtensibleAndFloatWavesDecodeToTheirSamples)
{
    test::TempDir dir;
    for (const int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16,
                             SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, SF_FORMAT_WAV | SF_FORMAT_FLOAT}) {
        const QString path = dir.file(QStringLiteral("tone%1.wav").arg(format, 0, 16));
        ASSERT_TRUE(writeTone(path, format));
        ASSERT_TRUE(checkWaveFile(path, nullptr));
        SoundFileDevice source;
        ASSERT_TRUE(source.openFile(path, nullptr));
        EXPECT_EQ(source.sampleRate(), 8000);
        EXPECT_EQ(source.channels(), 1);
        const QByteArray bytes = source.readAll();
        ASSERT_EQ(bytes.size(), 1600) << format;
        const auto* samples = reinterpret_cast<const short*>(bytes.constData());
        EXPECT_EQ(samples[0], 1000);
        EXPECT_EQ(samples[799], 1000);
        EXPECT_TRUE(source.atEnd());
    }
}

} // namespace
} // namespace lumavo

#include "export/exporter.h"
#include "export/frame_converter.h"
#include "export/recording_stage.h"
#include "export/sound_track.h"

#include "platform/silent_prompter.h"
#include "playback/test_stage.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <sndfile.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cmath>

namespace lumavo {
namespace {

using namespace std::chrono_literals;

constexpr Point kSize{128, 72};

// A current page of three lines that move in different ways, on a small stage.
Workspace threeLinePage()
{
    Workspace ws;
    const int codes[] = {5, 9, 12};
    for (int n = 1; n <= 3; ++n) {
        TitleLine& line = ws.page.line(n);
        line.titleValid = true;
        line.inDir = codes[n - 1];
        line.outDir = 13;
        ws.stage.restOf(n) = {10 + 30 * (n - 1), 8 + 20 * (n - 1)};
    }
    ws.page.movementDelay = 6000;   // 6 ms a pixel
    ws.page.fadeDelay = 600;        // 3.6 ms a fade level
    ws.page.pauseSecs = 1;
    return ws;
}

test::FakeComposer smallTitles()
{
    test::FakeComposer composer;
    composer.size = {24, 12};
    return composer;
}

ExportSettings settingsFor(const QString& destination, FrameRate rate = {60, 1})
{
    ExportSettings s;
    s.destination = destination;
    s.size = kSize;
    s.rate = rate;
    return s;
}

// A clock for the reference run: at every frame time in a sleep, keeps a copy of the test stage.
class SamplingClock final : public Clock {
public:
    SamplingClock(FrameRate rate, const Bitmap* back) : back_(back), rate_(rate) {}
    Nanoseconds now() const override { return now_; }
    void sleepUntil(Nanoseconds deadline) override
    {
        for (;;) {
            const std::int64_t k = static_cast<std::int64_t>(frames.size());
            const Nanoseconds due{(k * rate_.den * 1'000'000'000 + rate_.num - 1) / rate_.num};
            if (due >= deadline)
                break;
            frames.push_back(*back_);
        }
        now_ = std::max(now_, deadline);
    }
    const Bitmap* back_ = nullptr;
    std::vector<Bitmap> frames;

private:
    FrameRate rate_;
    Nanoseconds now_{0};
};

TEST(ExportFrames, PngSequenceEqualsTheTestStageSampledAtEachFrameTime)
{
    test::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("frames"));
    const Workspace ws = threeLinePage();
    const FrameRate rate{30, 1};
    const ExportResult result =
        exportVideo(ws, settingsFor(dir.file("frames/%05d.png"), rate), smallTitles());
    ASSERT_TRUE(result.ok) << result.message.toStdString();

    // The same page on the test stage (no frame pacing) and a clock that samples it.
    Workspace refWs = ws;
    SamplingClock clock(rate, nullptr);
    test::TestStage stage(clock, kSize, 32);
    clock.back_ = &stage.back;
    stage.frame = 0ns;
    PlaybackFlags flags;
    QStringList log;
    test::RecordingWavePlayer wave(log);
    SilentPrompter prompter;
    PagePlayer player(refWs, stage, flags, clock, wave, smallTitles());
    player.playCurrentPage();

    ASSERT_GT(clock.frames.size(), 10u);
    ASSERT_EQ(result.frames, static_cast<std::int64_t>(clock.frames.size()));
    const QStringList written = QDir(dir.file("frames")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), static_cast<qsizetype>(clock.frames.size()));
    EXPECT_EQ(written.front(), "00000.png");
    int framesWithColour = 0;
    for (std::size_t k = 0; k < clock.frames.size(); ++k) {
        const QImage image = QImage(dir.file("frames/" + written[static_cast<qsizetype>(k)]))
                                 .convertToFormat(QImage::Format_RGBA8888);
        ASSERT_EQ(image.size(), QSize(kSize.x, kSize.y));
        bool anyColour = false;
        for (int y = 0; y < kSize.y; ++y)
            for (int x = 0; x < kSize.x; ++x) {
                const Color want = clock.frames[k].pixel(x, y);
                const std::uint8_t* got = image.constScanLine(y) + x * 4;
                const Color have = rgb(got[0], got[1], got[2]);
                ASSERT_EQ(have, want) << "frame " << k << " at " << x << "," << y;
                ASSERT_EQ(got[3], want == kBlack ? 0 : 255) << "frame " << k << " at " << x << "," << y;
                anyColour = anyColour || want != kBlack;
            }
        framesWithColour += anyColour ? 1 : 0;
    }
    EXPECT_GT(framesWithColour, 5);
    // Nothing of the work folder is left.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"frames"});
}

TEST(ExportFrames, KeyOnlyWritesTheMatteOpaque)
{
    std::uint8_t bgrx[] = {0, 0, 0, 0, 1, 0, 0, 0, 10, 20, 30, 0};
    std::uint8_t rgba[12] = {};
    FrameConverter::convertRow(bgrx, rgba, 3, true);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 12),
              (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255}));
    FrameConverter::convertRow(bgrx, rgba, 3, false);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 12),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 1, 255, 30, 20, 10, 255}));
}

TEST(ExportFrames, SmoothStageGivesStraightAlphaOrColourOverBlack)
{
    // Premultiplied B, G, R, A: half-covered white, opaque black, nothing.
    std::uint8_t bgra[] = {128, 128, 128, 128, 0, 0, 0, 255, 0, 0, 0, 0};
    std::uint8_t rgba[12] = {};
    FrameConverter::convertAlphaRow(bgra, rgba, 3, false, true);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 12),
              (std::vector<std::uint8_t>{255, 255, 255, 128, 0, 0, 0, 255, 0, 0, 0, 0}));
    FrameConverter::convertAlphaRow(bgra, rgba, 3, false, false);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 12),
              (std::vector<std::uint8_t>{128, 128, 128, 128, 0, 0, 0, 255, 0, 0, 0, 0}));
    FrameConverter::convertAlphaRow(bgra, rgba, 3, true, true);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 12),
              (std::vector<std::uint8_t>{128, 128, 128, 255, 255, 255, 255, 255, 0, 0, 0, 255}));
}

TEST(VirtualClock, HandsOnEveryFrameTimeOnceAndExactlyForNtscRates)
{
    std::vector<std::pair<std::int64_t, Clock::Nanoseconds>> seen;
    VirtualClock clock(30000, 1001, [&](std::int64_t k, Clock::Nanoseconds at) { seen.emplace_back(k, at); });
    clock.sleepUntil(1ms);        // frame 0 only
    clock.sleepUntil(33366666ns); // frame 1 is due at 33366667 ns: not yet
    ASSERT_EQ(seen.size(), 1u);
    clock.sleepUntil(33366667ns);
    ASSERT_EQ(seen.size(), 1u);   // [t0, t1) leaves out t1 itself
    clock.sleepFor(std::chrono::seconds(1001));
    ASSERT_EQ(seen.size(), 30001u); // frame 30000 is due at exactly 1001 s + nothing: it is the next one
    for (std::size_t i = 0; i < seen.size(); ++i)
        ASSERT_EQ(seen[i].first, static_cast<std::int64_t>(i));
    EXPECT_EQ(frameTime(30000, 30000, 1001), std::chrono::seconds(1001));
}

TEST(ExportTiming, ManualPageHoldsForTheChosenTimeAtEachSpaceBarWait)
{
    test::TempDir dir;
    Workspace ws = threeLinePage();
    ws.page.mpause = true;
    std::int64_t frames[2] = {};
    for (int hold = 0; hold < 2; ++hold) {
        ExportSettings s = settingsFor(dir.file(QStringLiteral("h%1.mov").arg(hold)), {25, 1});
        s.holdSeconds = hold * 2;
        const ExportResult r = exportVideo(ws, s, smallTitles());
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        frames[hold] = r.frames;
    }
    // A manual page waits twice (before the first title, after the last moved in): 2 x 2 s at 25 fps.
    EXPECT_EQ(frames[1] - frames[0], 2 * 2 * 25);
}

// A wave of silence with a loud stretch of `loudFor` samples from `clickAt`, at the given rate.
QString writeClick(const QString& path, int rate, int length, int clickAt, int loudFor = 0)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    std::vector<float> samples(static_cast<std::size_t>(length), 0.0f);
    for (int i = clickAt; i < clickAt + std::max(loudFor, 4 * rate / 1000); ++i)
        samples[static_cast<std::size_t>(i)] = 0.9f;
    sf_writef_float(f, samples.data(), length);
    sf_close(f);
    return path;
}

// Samples of the sound file (first channel) at or above `level`, as sample indices.
std::vector<std::int64_t> loudSamples(const QString& path, float level)
{
    SF_INFO info{};
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    std::vector<float> all(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(f, all.data(), info.frames);
    sf_close(f);
    std::vector<std::int64_t> loud;
    for (sf_count_t i = 0; i < info.frames; ++i)
        if (std::fabs(all[static_cast<std::size_t>(i * info.channels)]) >= level)
            loud.push_back(i);
    return loud;
}

TEST(ExportSound, ClickStartsWhereTheTimelinePlaysItAndStopsWhereThePlayerCloses)
{
    test::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("f"));
    Workspace ws = threeLinePage();
    // Line 2's 44.1 kHz wave is loud from 1 ms on for longer than the page; line 3 opening its own
    // wave closes it. Line 3's wave is silent until well after its player is closed.
    ws.page.line(2).waveFile = writeClick(dir.file("click.wav"), 44100, 44100 * 30, 44, 44100 * 20);
    ws.page.line(3).waveFile = writeClick(dir.file("late.wav"), 44100, 44100 * 30, 44100 * 20);

    // When the live player plays and closes line 2's wave, on the fake clock.
    Workspace refWs = ws;
    FakeClock clock;
    test::TestStage stage(clock, kSize, 32);
    stage.frame = 0ns;
    PlaybackFlags flags;
    QStringList log;
    struct TimedWave : test::RecordingWavePlayer {
        using RecordingWavePlayer::RecordingWavePlayer;
        Clock* clock = nullptr;
        std::vector<Clock::Nanoseconds> plays, closes;
        void play() override { plays.push_back(clock->now()); }
        void close() override { closes.push_back(clock->now()); }
    } wave(log);
    wave.clock = &clock;
    SilentPrompter prompter;
    PagePlayer player(refWs, stage, flags, clock, wave, smallTitles());
    player.playCurrentPage();
    ASSERT_EQ(wave.plays.size(), 2u);

    const ExportResult r = exportVideo(ws, settingsFor(dir.file("f/%04d.png")), smallTitles());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(r.hasSound);
    const std::vector<std::int64_t> loud = loudSamples(dir.file("f/sound.wav"), 0.5f);
    ASSERT_FALSE(loud.empty());
    const auto seconds = [](Clock::Nanoseconds t) { return std::chrono::duration<double>(t).count(); };
    ASSERT_GE(wave.closes.size(), 2u);
    EXPECT_NEAR(loud.front() / 48000.0, seconds(wave.plays[0]) + 0.001, 0.001);
    // It stops where line 3 closes the player (the close of line 2's wave), and the late click
    // of line 3 never sounds.
    EXPECT_NEAR(loud.back() / 48000.0, seconds(wave.plays[1]), 0.001);
    EXPECT_EQ(static_cast<std::size_t>(loud.back() - loud.front() + 1), loud.size());
}

TEST(ExportSound, TrackReadsEachPlayFromItsStartAcrossPiecesWhenPlaysOverlap)
{
    test::TempDir dir;
    // 5 s at 44.1 kHz with a 2 ms click every half second: many pieces of the reader long.
    const QString path = dir.file("clicks.wav");
    {
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
        std::vector<float> samples(44100 * 5, 0.0f);
        for (int k = 0; k < 10; ++k)
            std::fill_n(samples.begin() + k * 22050, 88, 0.9f);
        sf_writef_float(f, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(f);
    }
    WaveReader probe;
    ASSERT_TRUE(probe.open(path, nullptr));
    EXPECT_EQ(probe.length(), 48000 * 5);

    // The second play starts 2 s in, while the first sounds, and is stopped after 1 s.
    SoundTrack track;
    track.add({path, 1000, 1000 + probe.length()});
    track.add({path, 96000, 96000 + probe.length()});
    track.stopAt(1, 96000 + 48000);
    const auto onsets = [&] {
        std::vector<std::int64_t> found;
        std::vector<float> block(2 * 1000);
        bool loud = false;
        for (std::int64_t at = 0; at < 48000 * 8; at += 1000) {
            EXPECT_TRUE(track.mix(at, 1000, block.data()).isEmpty());
            for (int i = 0; i < 1000; ++i) {
                const bool now = block[static_cast<std::size_t>(i) * 2] > 0.5f;
                if (now && !loud)
                    found.push_back(at + i);
                loud = now;
            }
        }
        return found;
    };
    const std::vector<std::int64_t> first = onsets();
    std::vector<std::int64_t> expected;
    for (int k = 0; k < 10; ++k)
        expected.push_back(1000 + k * 24000);
    expected.push_back(96000);
    expected.push_back(96000 + 24000);   // the click at 1 s is where the play was stopped
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(first.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(first[i], expected[i], 2) << "click " << i;   // no sample lost between pieces
    // Mixing from the start again reads the files again.
    EXPECT_EQ(onsets(), first);

    // A wave deleted after the run was planned is named when the mix reaches it, not skipped silently.
    const QString gone = dir.file("gone.wav");
    ASSERT_TRUE(QFile::copy(path, gone));
    SoundTrack later;
    later.add({gone, 4800, 4800 + probe.length()});
    std::vector<float> block(2 * 1000, 1.0f);
    EXPECT_TRUE(later.mix(0, 1000, block.data()).isEmpty()) << "not started yet";
    ASSERT_TRUE(QFile::remove(gone));
    const QString error = later.mix(4000, 1000, block.data());
    EXPECT_TRUE(error.contains(gone)) << error.toStdString();
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](float v) { return v == 0.0f; }));
}

struct Probe {
    AVCodecID video = AV_CODEC_ID_NONE;
    int pixelFormat = -1;
    AVRational rate{0, 1};
    std::int64_t frames = 0;
    double seconds = 0;
    AVCodecID audio = AV_CODEC_ID_NONE;
};

Probe probe(const QString& path)
{
    Probe p;
    AVFormatContext* in = nullptr;
    if (avformat_open_input(&in, path.toLocal8Bit().constData(), nullptr, nullptr) < 0)
        return p;
    avformat_find_stream_info(in, nullptr);
    int videoIndex = -1;
    for (unsigned i = 0; i < in->nb_streams; ++i) {
        const AVCodecParameters* par = in->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            videoIndex = static_cast<int>(i);
            p.video = par->codec_id;
            p.pixelFormat = par->format;
            p.rate = in->streams[i]->avg_frame_rate;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            p.audio = par->codec_id;
        }
    }
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == videoIndex)
            ++p.frames;
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    p.seconds = in->duration / static_cast<double>(AV_TIME_BASE);
    avformat_close_input(&in);
    return p;
}

TEST(ExportContainers, EachFormatReadsBackWithItsCodecPixelFormatRateAndSound)
{
    test::TempDir dir;
    Workspace ws = threeLinePage();
    struct Case {
        const char* name;
        AVCodecID video;
        AVPixelFormat pixels;
        AVCodecID audio;
    };
    const Case cases[] = {
        {"a.mp4", AV_CODEC_ID_H264, AV_PIX_FMT_YUV420P, AV_CODEC_ID_AAC},
        // ProRes 4444 (written from yuva444p10le) decodes at 12 bits.
        {"a.mov", AV_CODEC_ID_PRORES, AV_PIX_FMT_YUVA444P12LE, AV_CODEC_ID_PCM_S16LE},
        {"a.webm", AV_CODEC_ID_VP9, AV_PIX_FMT_YUV420P, AV_CODEC_ID_OPUS},
    };
    for (bool withSound : {false, true}) {
        if (withSound)
            ws.page.line(1).waveFile = writeClick(dir.file("c.wav"), 22050, 22050, 100);
        for (const Case& c : cases) {
            const QString path = dir.file(QStringLiteral("%1%2").arg(withSound).arg(c.name));
            const ExportResult r = exportVideo(ws, settingsFor(path, {30000, 1001}), smallTitles());
            ASSERT_TRUE(r.ok) << c.name << ": " << r.message.toStdString();
            const Probe p = probe(path);
            EXPECT_EQ(p.video, c.video) << c.name;
            // VP9's alpha travels beside the picture: the stream itself reads as yuv420p.
            EXPECT_EQ(p.pixelFormat, c.pixels) << c.name;
            EXPECT_EQ(p.rate.num * 1001, p.rate.den * 30000) << c.name;
            EXPECT_EQ(p.frames, r.frames) << c.name;
            EXPECT_NEAR(p.seconds, r.frames * 1001 / 30000.0, withSound ? 0.05 : 0.04) << c.name;
            EXPECT_EQ(p.audio, withSound ? c.audio : AV_CODEC_ID_NONE) << c.name;
        }
    }
}

TEST(ExportFailures, BadDestinationsAndCancelLeaveNoFile)
{
    test::TempDir dir;
    const Workspace ws = threeLinePage();
    const auto entries = [&] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    ExportResult r = exportVideo(ws, settingsFor(dir.file("a.avi")), smallTitles());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("unknown export format")) << r.message.toStdString();
    r = exportVideo(ws, settingsFor(dir.file("missing/a.mp4")), smallTitles());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("does not exist")) << r.message.toStdString();
    ExportSettings odd = settingsFor(dir.file("a.mp4"));
    odd.size = {65, 36};
    EXPECT_FALSE(exportVideo(ws, odd, smallTitles()).ok);

    for (const char* name : {"c.mp4", "c.mov", "f%03d.png"}) {
        int calls = 0;
        r = exportVideo(ws, settingsFor(dir.file(name)), smallTitles(),
                        [&](std::int64_t, std::int64_t) { return ++calls < 5; });
        EXPECT_TRUE(r.cancelled) << name;
        EXPECT_FALSE(r.ok) << name;
        EXPECT_EQ(calls, 5) << name;
    }
    EXPECT_TRUE(entries().isEmpty()) << entries().join(' ').toStdString();

    // Regression: a page that does not play wrote an empty video instead of saying so.
    r = exportVideo(Workspace{}, settingsFor(dir.file("empty.mp4")), smallTitles());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith("nothing to export: ")) << r.message.toStdString();
    EXPECT_TRUE(entries().isEmpty()) << entries().join(' ').toStdString();

    // An existing file is replaced only by a finished export.
    ASSERT_TRUE(test::writeAll(dir.file("keep.mp4"), "old"));
    r = exportVideo(ws, settingsFor(dir.file("keep.mp4")), smallTitles(),
                    [](std::int64_t, std::int64_t) { return false; });
    EXPECT_EQ(test::readAll(dir.file("keep.mp4")), "old");
}

} // namespace
} // namespace lumavo

// Exports an editor can trust: what a finished export leaves, what its files say about themselves,
// and the failures it must not hide.

#include "export/exporter.h"

#include "platform/silent_prompter.h"
#include "playback/test_stage.h"
#include "storage/page_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sndfile.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <sys/stat.h>
#include <unistd.h>

namespace lumavo {
namespace {

constexpr Point kSize{64, 36};

Workspace onePage()
{
    Workspace ws;
    TitleLine& line = ws.page.line(1);
    line.titleValid = true;
    line.inDir = 13;   // appears
    line.outDir = 13;
    ws.stage.restOf(1) = {8, 8};
    ws.page.pauseSecs = 1;
    return ws;
}

test::FakeComposer smallTitles()
{
    test::FakeComposer composer;
    composer.size = {16, 8};
    return composer;
}

ExportSettings tiny(const QString& destination)
{
    ExportSettings s;
    s.destination = destination;
    s.size = kSize;
    s.rate = {25, 1};
    return s;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

void writeSilence(const QString& path, int frames)
{
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    std::vector<short> samples(static_cast<std::size_t>(frames), 100);
    sf_writef_short(f, samples.data(), frames);
    sf_close(f);
}

TEST(ExportFaults, PngSequenceOverAnOlderOneLeftItsFramesAndSound)
{
    test::TempDir dir;
    for (const char* name : {"00000.png", "99999.png", "sound.wav", "notes.txt"})
        ASSERT_TRUE(test::writeAll(dir.file(name), "old"));
    const ExportSettings first = tiny(dir.file("%05d.png"));
    ExportResult r = exportVideo(onePage(), first, smallTitles());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("already holds an exported sequence (3 files")) << r.message.toStdString();
    EXPECT_EQ(test::readAll(dir.file("00000.png")), "old");

    ExportSettings replacing = first;
    replacing.replaceSequence = true;
    r = exportVideo(onePage(), replacing, smallTitles());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    QStringList want{"notes.txt"};
    for (std::int64_t k = 0; k < r.frames; ++k)
        want << QStringLiteral("%1.png").arg(k, 5, 10, QChar('0'));
    QStringList left = entries(dir.path());
    left.sort();
    want.sort();
    EXPECT_EQ(left, want) << "the older frame 99999 and its sound are gone, the note stays";
    EXPECT_NE(test::readAll(dir.file("00000.png")), "old");
}

// The colour description of the first decoded video frame, and the first video packet's time.
struct FirstFrame {
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    AVColorSpace space = AVCOL_SPC_UNSPECIFIED;
    std::int64_t firstPts = -1;
    AVRational timeBase{0, 1};
};

FirstFrame firstFrame(const QString& path)
{
    FirstFrame result;
    AVFormatContext* in = nullptr;
    if (avformat_open_input(&in, path.toLocal8Bit().constData(), nullptr, nullptr) < 0)
        return result;
    avformat_find_stream_info(in, nullptr);
    const int index = av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* codec = avcodec_find_decoder(in->streams[index]->codecpar->codec_id);
    AVCodecContext* decoder = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoder, in->streams[index]->codecpar);
    avcodec_open2(decoder, codec, nullptr);
    result.timeBase = in->streams[index]->time_base;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool decoded = false;
    while (!decoded && av_read_frame(in, packet) >= 0) {
        if (packet->stream_index == index) {
            if (result.firstPts < 0)
                result.firstPts = packet->pts;
            avcodec_send_packet(decoder, packet);
            decoded = avcodec_receive_frame(decoder, frame) == 0;
        }
        av_packet_unref(packet);
    }
    if (decoded) {
        result.primaries = frame->color_primaries;
        result.transfer = frame->color_trc;
        result.space = frame->colorspace;
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&decoder);
    avformat_close_input(&in);
    return result;
}

// The pixel aspect of a PNG file's pHYs chunk ("none" when it has none).
QString pixelAspect(const QString& path)
{
    const QByteArray png = test::readAll(path);
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == "pHYs")
            return QStringLiteral("%1:%2")
                .arg(qFromBigEndian<quint32>(png.constData() + at + 8))
                .arg(qFromBigEndian<quint32>(png.constData() + at + 12));
        at += 12 + length;
    }
    return QStringLiteral("none");
}

TEST(ExportFaults, FilesSaidUnspecifiedColourAZeroPixelAspectOrStartedLate)
{
    test::TempDir dir;
    Workspace ws = onePage();
    const QString wave = dir.file("tone.wav");
    writeSilence(wave, 48000);
    ws.page.line(1).waveFile = wave;
    for (const char* name : {"a.mov", "a.mp4", "a.webm"}) {
        const ExportResult r = exportVideo(ws, tiny(dir.file(name)), smallTitles());
        ASSERT_TRUE(r.ok) << name << ": " << r.message.toStdString();
        const FirstFrame f = firstFrame(dir.file(name));
        EXPECT_EQ(f.primaries, AVCOL_PRI_BT709) << name;
        EXPECT_EQ(f.transfer, AVCOL_TRC_BT709) << name;
        EXPECT_EQ(f.space, AVCOL_SPC_BT709) << name;
        EXPECT_EQ(f.firstPts, 0) << name << " starts its video late";
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("f"));
    ASSERT_TRUE(exportVideo(ws, tiny(dir.file("f/%03d.png")), smallTitles()).ok);
    const QString aspect = pixelAspect(dir.file("f/000.png"));
    EXPECT_TRUE(aspect == "none" || aspect == "1:1") << aspect.toStdString();
}

TEST(ExportFaults, PassesWereAcceptedAndIgnored)
{
    test::TempDir dir;
    Workspace ws = onePage();
    ws.project.projectDir = dir.path() + "/";
    ws.project.projectName = "SHOW.tlp";
    SilentPrompter prompter;
    ASSERT_EQ(SavePage(ws, prompter).status, SavePageStatus::Saved);
    ExportSettings s = tiny(dir.file("x.mp4"));
    s.allPages = true;
    const std::int64_t once = playTimeline(ws, s, smallTitles(), [](std::int64_t, const Bitmap&, const Rect&) {});
    s.passes = 3;
    const std::int64_t thrice = playTimeline(ws, s, smallTitles(), [](std::int64_t, const Bitmap&, const Rect&) {});
    ASSERT_GT(once, 10);
    EXPECT_NEAR(static_cast<double>(thrice), 3.0 * static_cast<double>(once), 3.0);
}

TEST(ExportFaults, MissingPictureOrWaveWasLeftOutAndReportedAsSuccess)
{
    test::TempDir dir;
    Workspace picture = onePage();
    picture.page.line(1).bitmapFile = "missing.bmp";
    ExportResult r = exportVideo(picture, tiny(dir.file("p.mp4")), smallTitles());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("missing.bmp")) << r.message.toStdString();

    Workspace wave = onePage();
    wave.page.line(2) = wave.page.line(1);
    wave.page.line(2).waveFile = dir.file("gone.wav");
    r = exportVideo(wave, tiny(dir.file("w.mp4")), smallTitles());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("gone.wav")) << r.message.toStdString();
    EXPECT_TRUE(entries(dir.path()).isEmpty()) << entries(dir.path()).join(' ').toStdString();

    // A wave cut short after the export was planned, while it is read (it sounds while its line
    // slides in, for about a second).
    Workspace cut = onePage();
    cut.page.line(1).inDir = 5;
    cut.page.movementDelay = 40000;
    cut.stage.restOf(1) = {40, 8};
    const QString long_ = dir.file("long.wav");
    writeSilence(long_, 48000 * 3);
    cut.page.line(1).waveFile = long_;
    r = exportVideo(cut, tiny(dir.file("c.mov")), smallTitles(), [&](std::int64_t done, std::int64_t) {
        if (done == 1)
            ::truncate(QFile::encodeName(long_).constData(), 44 + 2 * 48000 / 2);
        return true;
    });
    EXPECT_FALSE(r.ok) << r.frames;
    EXPECT_TRUE(r.message.contains("long.wav")) << r.message.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("c.mov")));
}

TEST(ExportFaults, DeviceFifoOrLinkDestinationWasReplaced)
{
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("fifo.mp4")).constData(), 0600), 0);
    ASSERT_TRUE(test::writeAll(dir.file("real.mp4"), "old"));
    ASSERT_TRUE(QFile::link(dir.file("real.mp4"), dir.file("link.mp4")));
    ASSERT_TRUE(QFile::link("/dev/null", dir.file("null.mp4")));
    for (const char* name : {"fifo.mp4", "link.mp4", "null.mp4"}) {
        const ExportResult r = exportVideo(onePage(), tiny(dir.file(name)), smallTitles());
        EXPECT_FALSE(r.ok) << name;
        EXPECT_TRUE(r.message.contains(dir.file(name))) << r.message.toStdString();
    }
    struct stat st {};
    EXPECT_TRUE(::lstat(QFile::encodeName(dir.file("fifo.mp4")).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    EXPECT_TRUE(QFileInfo(dir.file("link.mp4")).isSymLink());
    EXPECT_EQ(test::readAll(dir.file("real.mp4")), "old");

    // A finished export replaces the old file in one rename: a second name of the old file keeps it.
    ASSERT_EQ(::link(QFile::encodeName(dir.file("real.mp4")).constData(), QFile::encodeName(dir.file("hard")).constData()), 0);
    ASSERT_TRUE(exportVideo(onePage(), tiny(dir.file("real.mp4")), smallTitles()).ok);
    EXPECT_EQ(test::readAll(dir.file("hard")), "old");
    EXPECT_GT(QFile(dir.file("real.mp4")).size(), 100);
}

TEST(ExportFaults, PercentInTheFolderOrNameBrokeTheExport)
{
    test::TempDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("100%d"));
    ExportResult r = exportVideo(onePage(), tiny(dir.file("100%d/50%.mp4")), smallTitles());
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file("100%d/50%.mp4")));
    r = exportVideo(onePage(), tiny(dir.file("100%d/a%_%02d.png")), smallTitles());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file("100%d/a%_00.png")));
}

TEST(ExportFaults, LeftoversOfKilledExportsStayedForever)
{
    test::TempDir dir;
    const QString dead = QString::number(0x3fffff);   // above any process id in use
    const QString alive = QString::number(::getpid());
    ASSERT_TRUE(test::writeAll(dir.file(".show.part-" + dead + ".mov"), "partial"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(".lumavo-export-" + dead + "-aB3dE6/x"));
    ASSERT_TRUE(test::writeAll(dir.file(".show.part-" + alive + ".mov"), "running"));
    ASSERT_TRUE(test::writeAll(dir.file(".notes.part-x.mov"), "not ours"));
    ASSERT_TRUE(exportVideo(onePage(), tiny(dir.file("new.mp4")), smallTitles()).ok);
    QStringList left = entries(dir.path());
    left.sort();
    EXPECT_EQ(left, (QStringList{".notes.part-x.mov", ".show.part-" + alive + ".mov", "new.mp4"}));
}

} // namespace
} // namespace lumavo

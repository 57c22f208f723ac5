// Export speed on a 10-second 1080p60 slide-in title (one line of 100-point white text, code 5,
// then a hold), measured next to FFmpeg's drawtext filter rendering a comparable title in the same
// run. Items are frames, so items_per_second reads as frames per second.
//   render_convert_changed  the timeline on the recording stage, converted to RGBA where it changed
//   render_convert_full     the same with the plain full-frame converter (the reference loop)
//   render_convert_yuv_changed / _full   then to yuv420p (H.264's format) in the changed band of
//                           rows / the whole frame (the reference)
//   render_convert_yuva444p10_changed / _full   the same to ProRes 4444's format
//   export_mp4 / export_mov / export_webm   whole exports to a file (peak_rss_mb: the process's peak;
//                           run each alone for its own figure)
//   export_mp4_smooth       the MP4 of a smooth project (antialiased title with alpha, colour over black)
//   export_*_60s            the same title held for 60 s
//   export_mp4_60s_wave_5min   the 60 s MP4 with a 5-minute wave on the title's line
//   drawtext_null / drawtext_x264 / drawtext_vp9_alpha   the ffmpeg program as the reference
//                           (skipped without it); the last writes VP9 with alpha as the WebM export does
#include "bench_main.h"
#include "export/exporter.h"
#include "export/frame_converter.h"
#include "export/media_writer.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <cmath>
#include <sndfile.h>
#include <sys/resource.h>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace {

using namespace lumavo;

constexpr Point kFrame{1920, 1080};

// The title: white text on black, composed once a run like the stage's composer does.
ComposedTitle composeSlideTitle(const TitleLine&, int, Point rest, const ComposeFormats& formats, bool,
                                const QString&, Point)
{
    ComposedTitle title;
    title.bitmap = Bitmap(1000, 160, formats.title);
    title.bitmap.setAlpha(formats.smooth);
    Canvas& canvas = title.bitmap.canvas();
    canvas.brush.color = kBlack;
    canvas.fillRect({0, 0, 1000, 160});
    canvas.font.points = 100;
    canvas.font.color = kWhite;
    canvas.textOut(10, 10, QStringLiteral("Lumavo Titles"));
    title.position = rest;
    return title;
}

// Slides in over about 2 s (1920 + 1000 pixels at 685 us each), holds `seconds` - 2 s, appears out.
Workspace slidePage(int seconds = 10)
{
    Workspace ws;
    TitleLine& line = ws.page.line(1);
    line.titleValid = true;
    line.inDir = 5;
    line.outDir = 13;
    ws.stage.restOf(1) = {460, 460};
    ws.page.movementDelay = 685;
    ws.page.pauseSecs = seconds - 2;
    return ws;
}

ExportSettings settingsFor(const QString& destination)
{
    ExportSettings s;
    s.destination = destination;
    s.size = kFrame;
    return s;
}

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Renders the timeline and converts each frame: RGBA where it changed (or whole, the reference),
// then, unless `encoderFormat` is AV_PIX_FMT_NONE, to that format (yuv420p for H.264, yuva444p10le
// for ProRes 4444) in the changed band of rows (or whole, the reference).
void renderConvert(benchmark::State& state, bool changedOnly, AVPixelFormat encoderFormat)
{
    const Workspace ws = slidePage();
    std::int64_t frames = 0;
    const bool toYuv = encoderFormat != AV_PIX_FMT_NONE;
    const AVPixelFormat target = toYuv ? encoderFormat : AV_PIX_FMT_YUV420P;
    SwsContext* sws = sws_getContext(kFrame.x, kFrame.y, AV_PIX_FMT_RGBA, kFrame.x, kFrame.y, target, SWS_POINT,
                                     nullptr, nullptr, nullptr);
    AVFrame* yuv = av_frame_alloc();
    yuv->format = target;
    yuv->width = kFrame.x;
    yuv->height = kFrame.y;
    av_frame_get_buffer(yuv, 0);
    for (auto _ : state) {
        FrameConverter converter(kFrame, false);
        frames += playTimeline(ws, settingsFor("x.mp4"), &composeSlideTitle,
                               [&](std::int64_t k, const Bitmap& back, const Rect& changed) {
                                   const Rect all{0, 0, kFrame.x, kFrame.y};
                                   const Rect& region = changedOnly && k > 0 ? changed : all;
                                   converter.update(back, region);
                                   if (toYuv)
                                       convertRowBand(sws, yuv, converter.rgba(), converter.stride(), region.top,
                                                      region.isEmpty() ? region.top : region.bottom);
                                   benchmark::DoNotOptimize(converter.rgba());
                               });
    }
    av_frame_free(&yuv);
    sws_freeContext(sws);
    state.SetItemsProcessed(frames);
}

// A wave of `seconds` of a quiet tone, 44.1 kHz stereo 16-bit (resampled on export, like most).
QString writeTone(int seconds)
{
    const QString path = QDir::temp().filePath(QStringLiteral("lumavo-export-bench-%1s.wav").arg(seconds));
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    std::vector<float> second(44100 * 2);
    for (std::size_t i = 0; i < second.size(); ++i)
        second[i] = 0.2f * static_cast<float>(std::sin(static_cast<double>(i / 2) * 440.0 * 6.283185307 / 44100.0));
    for (int s = 0; s < seconds && file != nullptr; ++s)
        sf_writef_float(file, second.data(), 44100);
    sf_close(file);
    return path;
}

void exportTo(benchmark::State& state, const char* suffix, int seconds, int waveSeconds = 0, bool smooth = false)
{
    const QString path = QDir::temp().filePath(QStringLiteral("lumavo-export-bench.%1").arg(QLatin1String(suffix)));
    Workspace page = slidePage(seconds);
    page.project.smoothEdges = smooth;
    const QString wave = waveSeconds > 0 ? writeTone(waveSeconds) : QString();
    page.page.line(1).waveFile = wave;
    std::int64_t frames = 0;
    for (auto _ : state) {
        const ExportResult r = exportVideo(page, settingsFor(path), &composeSlideTitle);
        if (!r.ok)
            state.SkipWithError(r.message.toLocal8Bit().constData());
        frames += r.frames;
    }
    QFile::remove(path);
    if (!wave.isEmpty())
        QFile::remove(wave);
    state.SetItemsProcessed(frames);
    state.counters["peak_rss_mb"] = peakRssMb();
}

// The reference: FFmpeg's drawtext filter sliding a comparable title in over 2 s, 10 s at 1080p60;
// with vp9Alpha, on a transparent background encoded to VP9 with alpha with the settings the
// WebM export uses, into a file.
void drawtext(benchmark::State& state, bool x264, bool vp9Alpha = false)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        state.SkipWithError("the ffmpeg program is not installed");
        return;
    }
    const QString background = vp9Alpha ? QStringLiteral("color=c=black@0:s=1920x1080:r=60:d=10,format=rgba")
                                         : QStringLiteral("color=c=black:s=1920x1080:r=60:d=10");
    QStringList args = {"-v", "error", "-y", "-f", "lavfi", "-i", background, "-vf",
                        "drawtext=text='Lumavo Titles':fontcolor=white:fontsize=133:y=470:x='min(460,-1000+t*1460)'"};
    const QString webm = QDir::temp().filePath(QStringLiteral("lumavo-export-bench-ffmpeg.webm"));
    if (x264)
        args << "-c:v" << "libx264" << "-preset" << "veryfast";
    if (vp9Alpha)
        args << "-c:v" << "libvpx-vp9" << "-pix_fmt" << "yuva420p" << "-crf" << "31" << "-b:v" << "0" << "-deadline"
             << "realtime" << "-cpu-used" << "8" << "-row-mt" << "1" << "-lag-in-frames" << "0" << webm;
    else
        args << "-f" << "null" << "-";
    for (auto _ : state) {
        QProcess process;
        process.start(ffmpeg, args);
        if (!process.waitForFinished(600000) || process.exitCode() != 0)
            state.SkipWithError("ffmpeg failed");
    }
    QFile::remove(webm);
    state.SetItemsProcessed(state.iterations() * 600);
}

BENCHMARK_CAPTURE(renderConvert, render_convert_changed, true, AV_PIX_FMT_NONE)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(renderConvert, render_convert_full, false, AV_PIX_FMT_NONE)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(renderConvert, render_convert_yuv_changed, true, AV_PIX_FMT_YUV420P)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);
BENCHMARK_CAPTURE(renderConvert, render_convert_yuv_full, false, AV_PIX_FMT_YUV420P)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(renderConvert, render_convert_yuva444p10_changed, true, AV_PIX_FMT_YUVA444P10LE)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);
BENCHMARK_CAPTURE(renderConvert, render_convert_yuva444p10_full, false, AV_PIX_FMT_YUVA444P10LE)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(drawtext, drawtext_null, false)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK_CAPTURE(drawtext, drawtext_x264, true)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(drawtext, drawtext_vp9_alpha, false, true)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(exportTo, export_mp4, "mp4", 10)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(exportTo, export_mp4_smooth, "mp4", 10, 0, true)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(exportTo, export_mov, "mov", 10)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(exportTo, export_webm, "webm", 10)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
// The same title held for 60 s: the peak memory must not grow with the length (run each export
// alone, see docs/performance.md).
BENCHMARK_CAPTURE(exportTo, export_mp4_60s, "mp4", 60)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(exportTo, export_mov_60s, "mov", 60)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(exportTo, export_webm_60s, "webm", 60)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
// The 60 s MP4 with a 5-minute wave on its line (the page ends it after 60 s): a wave is held
// decoded, whole, for the export.
BENCHMARK_CAPTURE(exportTo, export_mp4_60s_wave_5min, "mp4", 60, 300)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return lumavo::bench::runWithGuiApplication(argc, argv);
}

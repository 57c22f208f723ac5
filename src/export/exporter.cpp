#include "export/exporter.h"

#include "export/frame_converter.h"
#include "export/media_writer.h"
#include "export/recording_stage.h"
#include "export/sound_track.h"
#include "platform/silent_prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sndfile.h>

#include <memory>

namespace lumavo {

namespace {

// One run of the page player on a recording stage and a virtual clock; `onFrame` gets every frame.
struct TimelineRun {
    TimelineRun(const Workspace& source, const ExportSettings& settings, const TitleComposer& composer,
                std::function<void(std::int64_t)> onFrame)
        : ws(source),
          clock(settings.rate.num, settings.rate.den, [this, onFrame](std::int64_t k, Clock::Nanoseconds) { onFrame(k); }),
          stage(settings.size, clock, flags,
                std::chrono::duration_cast<Clock::Nanoseconds>(std::chrono::duration<double>(settings.holdSeconds))),
          wave(clock, track), player(ws, stage, flags, prompter, clock, wave, composer)
    {
    }

    void play(const ExportSettings& settings)
    {
        if (!settings.allPages) {
            player.playCurrentPage();
            return;
        }
        const PageSource pages = storagePageSource(ws, prompter);
        int passesStarted = 0;
        const PageSource counted{pages.lastPageNumber, [&](const QString& number) {
                                     if (number == QLatin1String("000") && ++passesStarted > settings.passes)
                                         flags.killNow = true;   // the chosen passes are done
                                     return pages.loadPage(number);
                                 }};
        player.playAllPages(counted);
    }

    Workspace ws;
    PlaybackFlags flags;
    SilentPrompter prompter;
    SoundTrack track;
    VirtualClock clock;
    RecordingStage stage;
    RecordingWavePlayer wave;
    PagePlayer player;
};

// Where the file is written until it is complete: beside the destination, hidden, same extension.
QString partialName(const QString& destination)
{
    const QFileInfo info(destination);
    return info.dir().filePath(QStringLiteral(".%1.part-%2.%3")
                                   .arg(info.completeBaseName())
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(info.suffix()));
}

QString writeWave(const QString& path, SoundTrack& track, std::int64_t samples)
{
    SF_INFO info{};
    info.samplerate = kExportSampleRate;
    info.channels = kExportChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (file == nullptr)
        return QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(sf_strerror(nullptr)));
    std::vector<float> chunk(4096 * kExportChannels);
    QString error;
    for (std::int64_t at = 0; at < samples && error.isEmpty(); at += 4096) {
        const int count = static_cast<int>(std::min<std::int64_t>(4096, samples - at));
        error = track.mix(at, count, chunk.data());
        if (error.isEmpty() && sf_writef_float(file, chunk.data(), count) != count)
            error = QStringLiteral("cannot write %1: %2").arg(path, QString::fromLocal8Bit(sf_strerror(file)));
    }
    if (sf_close(file) != 0 && error.isEmpty())
        error = QStringLiteral("cannot write %1").arg(path);
    return error;
}

// Moves the finished files of a PNG sequence from the work folder into place; on a failure the
// ones already moved are removed again.
QString moveIntoPlace(const QDir& from, const QDir& to)
{
    QStringList moved;
    for (const QString& name : from.entryList(QDir::Files)) {
        const QString target = to.filePath(name);
        QFile::remove(target);
        if (!QFile::rename(from.filePath(name), target)) {
            for (const QString& done : moved)
                QFile::remove(done);
            return QStringLiteral("cannot write %1").arg(target);
        }
        moved << target;
    }
    return {};
}

ExportResult failure(const QString& message)
{
    ExportResult result;
    result.message = message;
    return result;
}

} // namespace

std::int64_t playTimeline(const Workspace& ws, const ExportSettings& settings, const TitleComposer& composer,
                          const TimelineFrame& onFrame)
{
    std::unique_ptr<TimelineRun> run;
    run = std::make_unique<TimelineRun>(ws, settings, composer, [&](std::int64_t k) {
        onFrame(k, run->stage.backBuffer(), run->stage.takeChanged());
    });
    run->play(settings);
    return run->clock.framesDone();
}

ExportResult exportVideo(const Workspace& ws, const ExportSettings& settings, const TitleComposer& composer,
                         const ExportProgress& progress)
{
    ExportResult result;
    result.message = validateExportSettings(settings);
    if (!result.message.isEmpty())
        return result;
    const ExportFormat format = *exportFormatFor(settings.destination);
    const QFileInfo destination(settings.destination);
    if (!destination.dir().exists())
        return failure(QStringLiteral("the folder %1 does not exist").arg(destination.absolutePath()));

    // A first run finds the length and the sounds, so the file's sound streams and the progress
    // are known before a frame is encoded. Its stage goes before the encoder comes; the sounds
    // are read from their files as the encoder reaches them.
    SoundTrack track;
    std::int64_t total = 0;
    {
        TimelineRun plan(ws, settings, composer, [](std::int64_t) {});
        plan.play(settings);
        total = plan.clock.framesDone();
        result.pageMessages = plan.prompter.shown;
        plan.wave.close();   // ends what still sounds before the track moves out
        track = std::move(plan.track);
    }
    result.hasSound = !track.isEmpty();
    if (total == 0) {
        // A page that does not play (no title, a wave that cannot be opened) gives no file at all.
        result.message = QStringLiteral("nothing to export");
        if (!result.pageMessages.isEmpty())
            result.message += ": " + result.pageMessages.takeFirst();
        return result;
    }

    // The files are written in a work place beside the destination and moved there at the end.
    std::unique_ptr<QTemporaryDir> workDir;
    QString target = partialName(settings.destination);
    if (format == ExportFormat::PngSequence) {
        workDir = std::make_unique<QTemporaryDir>(destination.dir().filePath(QStringLiteral(".lumavo-export-XXXXXX")));
        if (!workDir->isValid())
            return failure(QStringLiteral("cannot write in %1").arg(destination.absolutePath()));
        target = QDir(workDir->path()).filePath(destination.fileName());
    }
    const auto failed = [&](const QString& message, bool cancelled = false) {
        if (format != ExportFormat::PngSequence)
            QFile::remove(target);
        result.ok = false;
        result.cancelled = cancelled;
        result.message = message;
        return result;
    };

    QString error;
    bool cancelled = false;
    {
        MediaWriter writer;
        error = writer.open(target, format, settings.size, settings.rate, settings.crf, &track);
        if (!error.isEmpty())
            return failed(QStringLiteral("cannot export to %1: %2").arg(settings.destination, error));
        const FrameAlpha alpha = !ws.project.smoothEdges   ? FrameAlpha::BlackKey
                                 : format == ExportFormat::Mp4 ? FrameAlpha::OverBlack
                                                               : FrameAlpha::Straight;
        FrameConverter converter(settings.size, settings.keyOnly, alpha);
        std::unique_ptr<TimelineRun> run;
        run = std::make_unique<TimelineRun>(ws, settings, composer, [&](std::int64_t k) {
            if (!error.isEmpty() || cancelled)
                return;
            const Rect changed = run->stage.takeChanged();
            converter.update(run->stage.backBuffer(), changed);
            error = writer.writeFrame(converter.rgba(), converter.stride(), changed.top,
                                      changed.isEmpty() ? changed.top : changed.bottom);
            if (error.isEmpty() && progress && !progress(k + 1, total))
                cancelled = true;
            if (!error.isEmpty() || cancelled)
                run->flags.killNow = true;
        });
        run->play(settings);
        if (cancelled)
            return failed({}, true);
        if (error.isEmpty())
            error = writer.finish();
        result.frames = writer.framesWritten();
    }
    if (!error.isEmpty())
        return failed(QStringLiteral("cannot export to %1: %2").arg(settings.destination, error));
    if (format == ExportFormat::PngSequence) {
        if (result.hasSound)
            error = writeWave(QDir(workDir->path()).filePath(QStringLiteral("sound.wav")), track,
                              result.frames * kExportSampleRate * settings.rate.den / settings.rate.num);
        if (error.isEmpty())
            error = moveIntoPlace(QDir(workDir->path()), destination.dir());
    } else {
        QFile::remove(settings.destination);
        if (!QFile::rename(target, settings.destination))
            error = QStringLiteral("cannot write %1").arg(settings.destination);
    }
    if (!error.isEmpty())
        return failed(error);
    result.ok = true;
    return result;
}

} // namespace lumavo

#include "export/exporter.h"

#include "export/frame_converter.h"
#include "export/media_writer.h"
#include "export/recording_stage.h"
#include "export/sound_track.h"
#include "platform/atomic_file.h"
#include "platform/prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sndfile.h>

#include <cerrno>
#include <csignal>
#include <memory>
#include <set>

namespace lumavo {

namespace {

// Keeps what playback says: errors (a picture or a wave that cannot be read) apart from the rest.
class RecordingPrompter final : public Prompter {
public:
    QStringList shown;
    QStringList errors;
    void message(const QString& text, MessageIcon icon) override
    {
        (icon == MessageIcon::Error ? errors : shown) << text;
    }
    Answer confirm(const QString&, bool withCancel, MessageIcon) override
    {
        return withCancel ? Answer::Cancel : Answer::No;
    }
    std::optional<QString> openFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    int execModal(QWidget&) override { return 0; }
};

// One run of the page player on a recording stage and a virtual clock; `onFrame` gets every frame.
struct TimelineRun {
    TimelineRun(const Workspace& source, const ExportSettings& settings, const TitleComposer& composer,
                std::function<void(std::int64_t)> onFrame)
        : ws(source),
          clock(settings.rate.num, settings.rate.den, [this, onFrame](std::int64_t k, Clock::Nanoseconds) { onFrame(k); }),
          stage(settings.size, clock, flags,
                std::chrono::duration_cast<Clock::Nanoseconds>(std::chrono::duration<double>(settings.holdSeconds))),
          wave(clock, track), player(ws, stage, flags, clock, wave, composer)
    {
        // More than one pass plays the project over with the repeat loop.
        if (settings.allPages && settings.passes > 1)
            ws.editor.repeatLoop = true;
    }

    void play(const ExportSettings& settings)
    {
        if (!settings.allPages) {
            player.playCurrentPage();
            showNotices(prompter, player.takeNotices());
            return;
        }
        Notices loading;
        const PageSource pages = storagePageSource(ws, loading);
        int passesStarted = 0;
        const PageSource counted{pages.lastPageNumber, [&](const QString& number) {
                                     if (number == QLatin1String("000") && ++passesStarted > settings.passes)
                                         flags.killNow = true;   // the chosen passes are done
                                     return pages.loadPage(number);
                                 }};
        player.playAllPages(counted);
        showNotices(prompter, loading);
        showNotices(prompter, player.takeNotices());
    }

    Workspace ws;
    PlaybackFlags flags;
    RecordingPrompter prompter;
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
    // The pattern removeDeadExportsLeftovers looks for.
    return info.dir().filePath(QStringLiteral(".%1.part-%2.%3")
                                   .arg(info.completeBaseName())
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(info.suffix()));
}

const QString kWorkFolderMark = QStringLiteral(".lumavo-export-");

// True when the process `pid` is gone (a process of another user still counts as living).
bool processIsGone(qint64 pid)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes, from `dir`, the partial files and work folders of exports whose process has ended
// (killed, or the machine stopped): ".NAME.part-PID.EXT" and ".lumavo-export-PID-XXXXXX".
void removeDeadExportsLeftovers(const QDir& dir)
{
    static const QRegularExpression partial(QStringLiteral("^\\..+\\.part-(\\d+)\\.(mp4|mov|webm)$"));
    static const QRegularExpression work(QStringLiteral("^\\.lumavo-export-(\\d+)-[A-Za-z0-9]{6}$"));
    for (const QString& name : dir.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Dirs | QDir::Hidden
                                                                         | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        if (const auto m = partial.match(name); m.hasMatch() && processIsGone(m.captured(1).toLongLong()))
            QFile::remove(dir.filePath(name));
        else if (const auto w = work.match(name); w.hasMatch() && processIsGone(w.captured(1).toLongLong()))
            QDir(dir.filePath(name)).removeRecursively();
    }
}

// The files of `dir` an export to the frame pattern `fileName` writes: the frames of the pattern
// (any number) and sound.wav.
QStringList sequenceFilesIn(const QDir& dir, const QString& fileName)
{
    const FramePattern pattern = framePatternOf(fileName);
    const QRegularExpression frames(
        QStringLiteral("^%1\\d{%2,}%3$")
            .arg(QRegularExpression::escape(pattern.before), QString::number(std::max(pattern.digits, 1)),
                 QRegularExpression::escape(pattern.after)));
    QStringList found;
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (frames.match(name).hasMatch() || name == QLatin1String("sound.wav"))
            found << name;
    return found;
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

// Moves the finished files of a PNG sequence from the work folder into place, each with one
// rename over an older file of the same name, then removes the older sequence's other files
// (`older`), so that exactly the new sequence is left.
QString moveIntoPlace(const QDir& from, const QDir& to, const QStringList& older)
{
    const QStringList names = from.entryList(QDir::Files);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const Result moved = replaceWithFile(from.filePath(names[i]), to.filePath(names[i]), LinkPolicy::Refuse);
        if (!moved.ok) {
            // The new files already in place go again, unless they replaced older ones.
            for (qsizetype j = 0; j < i; ++j)
                if (!older.contains(names[j]))
                    QFile::remove(to.filePath(names[j]));
            return moved.error;
        }
    }
    const std::set<QString> written(names.begin(), names.end());
    for (const QString& name : older)
        if (!written.contains(name) && !QFile::remove(to.filePath(name)))
            return QStringLiteral("cannot remove %1 of the earlier export").arg(to.filePath(name));
    return {};
}

ExportResult failure(const QString& message)
{
    ExportResult result;
    result.message = message;
    return result;
}

} // namespace

QString exportWouldReplace(const ExportSettings& settings)
{
    const QFileInfo destination(settings.destination);
    if (exportFormatFor(settings.destination) == ExportFormat::PngSequence) {
        const QStringList older = sequenceFilesIn(destination.dir(), destination.fileName());
        if (older.isEmpty())
            return {};
        return QStringLiteral("%1 already holds %2 files of an exported sequence, such as %3.")
            .arg(destination.absolutePath())
            .arg(older.size())
            .arg(older.front());
    }
    return destination.exists() || destination.isSymLink()
        ? QStringLiteral("%1 already exists.").arg(destination.fileName())
        : QString();
}

QString exportSummary(const ExportSettings& settings, const ExportResult& result)
{
    const QFileInfo destination(settings.destination);
    qint64 bytes = 0;
    if (exportFormatFor(settings.destination) == ExportFormat::PngSequence) {
        for (const QString& name : sequenceFilesIn(destination.dir(), destination.fileName()))
            bytes += QFileInfo(destination.dir().filePath(name)).size();
    } else {
        bytes = destination.size();
    }
    const double seconds = static_cast<double>(result.frames) * settings.rate.den / settings.rate.num;
    return QStringLiteral("%1: %2 MB, %3 s (%4 frames)")
        .arg(destination.fileName())
        .arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1)
        .arg(seconds, 0, 'f', 1)
        .arg(result.frames);
}

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
    removeDeadExportsLeftovers(destination.dir());

    // What the export would replace is checked before any work: a PNG sequence never mixes its
    // frames with an earlier one's, and a file is never a device, a FIFO or a link.
    QStringList olderSequence;
    if (format == ExportFormat::PngSequence) {
        olderSequence = sequenceFilesIn(destination.dir(), destination.fileName());
        if (!olderSequence.isEmpty() && !settings.replaceSequence)
            return failure(QStringLiteral("%1 already holds an exported sequence (%2 files such as %3): replace "
                                          "it or choose another folder")
                               .arg(destination.absolutePath())
                               .arg(olderSequence.size())
                               .arg(olderSequence.front()));
    } else {
        QString unused;
        if (const Result checked = resolveSaveTarget(settings.destination, &unused, LinkPolicy::Refuse); !checked.ok)
            return failure(checked.error);
    }

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
        // A picture or a wave that cannot be read would leave its title or sound out of the file.
        if (!plan.prompter.errors.isEmpty())
            return failure(QStringLiteral("cannot export to %1: %2").arg(settings.destination, plan.prompter.errors.front()));
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
    QString writerPath = target;
    if (format == ExportFormat::PngSequence) {
        workDir = std::make_unique<QTemporaryDir>(destination.dir().filePath(
            kWorkFolderMark + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX")));
        if (!workDir->isValid())
            return failure(QStringLiteral("cannot write in %1").arg(destination.absolutePath()));
        target = QDir(workDir->path()).filePath(destination.fileName());
        writerPath = imageWriterPath(workDir->path(), destination.fileName());
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
        error = writer.open(writerPath, format, settings.size, settings.rate, settings.crf, &track, settings.proRes);
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
            error = moveIntoPlace(QDir(workDir->path()), destination.dir(), olderSequence);
    } else if (const Result moved = replaceWithFile(target, settings.destination, LinkPolicy::Refuse); !moved.ok) {
        error = moved.error;
    }
    if (!error.isEmpty())
        return failed(error);
    result.ok = true;
    return result;
}

} // namespace lumavo

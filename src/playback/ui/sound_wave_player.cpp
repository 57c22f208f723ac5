#include "playback/ui/sound_wave_player.h"

#include "platform/sound_file.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace lumavo {

bool checkWaveFile(const QString& path, QString* error)
{
    auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (path.isEmpty())
        return failed(QStringLiteral("no file name"));
    SF_INFO info{};
    QString reason;
    SNDFILE* file = openSoundFile(path, info, &reason);
    if (file == nullptr)
        return failed(reason);
    const int type = info.format & SF_FORMAT_TYPEMASK;
    sf_close(file);
    if (type != SF_FORMAT_WAV && type != SF_FORMAT_WAVEX)
        return failed(QStringLiteral("not a wave file"));
    if (info.frames <= 0 || info.channels <= 0)
        return failed(QStringLiteral("the wave file holds no sound"));
    return true;
}

SoundFileDevice::~SoundFileDevice()
{
    if (file_ != nullptr)
        sf_close(file_);
}

bool SoundFileDevice::openFile(const QString& path, QString* error)
{
    file_ = openSoundFile(path, info_, error);
    if (file_ == nullptr || info_.channels <= 0)
        return false;
    finished_ = false;
    return open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 SoundFileDevice::readData(char* data, qint64 maxSize)
{
    const qint64 frameBytes = static_cast<qint64>(sizeof(short)) * info_.channels;
    const sf_count_t frames = file_ != nullptr ? maxSize / frameBytes : 0;
    if (frames <= 0)
        return 0;
    const sf_count_t got = sf_readf_short(file_, reinterpret_cast<short*>(data), frames);
    if (got < frames)
        finished_ = true;
    return got * frameBytes;
}

SoundWavePlayer::SoundWavePlayer() : notifier_(std::make_unique<QObject>()) {}

SoundWavePlayer::~SoundWavePlayer()
{
    notifier_.reset();   // drops reports still on their way
    if (audioThread_.isRunning()) {
        QMetaObject::invokeMethod(
            worker_,
            [this] {
                delete sink_;
                delete source_;
                sink_ = nullptr;
                source_ = nullptr;
            },
            Qt::BlockingQueuedConnection);
        audioThread_.quit();
        audioThread_.wait();
    }
    delete worker_;
}

bool SoundWavePlayer::open(const QString& path, QString* error)
{
    close();
    if (!checkWaveFile(path, error))
        return false;
    path_ = path;
    return true;
}

void SoundWavePlayer::reportProblem(const QString& text)
{
    QMetaObject::invokeMethod(
        notifier_.get(),
        [this, text] {
            if (reported_)
                return;
            reported_ = true;
            if (report_)
                report_(text);
        },
        Qt::QueuedConnection);
}

void SoundWavePlayer::play()
{
    if (path_.isEmpty())
        return;
    if (!audioThread_.isRunning()) {
        audioThread_.setObjectName(QStringLiteral("wave player"));
        worker_ = new QObject;
        worker_->moveToThread(&audioThread_);
        audioThread_.start();
    }
    QMetaObject::invokeMethod(
        worker_,
        [this, path = path_] {
            delete sink_;
            delete source_;
            sink_ = nullptr;
            source_ = nullptr;
            auto source = std::make_unique<SoundFileDevice>();
            QString why;
            if (!source->openFile(path, &why)) {
                reportProblem(QStringLiteral("Sound cannot be played: %1").arg(why));
                return;
            }
            const QAudioDevice device = QMediaDevices::defaultAudioOutput();
            if (device.isNull()) {
                reportProblem(QStringLiteral("No sound device: the titles' sounds are not heard."));
                return;
            }
            QAudioFormat format;
            format.setSampleRate(source->sampleRate());
            format.setChannelCount(source->channels());
            format.setSampleFormat(QAudioFormat::Int16);
            auto sink = std::make_unique<QAudioSink>(device, format);
            sink->start(source.get());
            if (sink->error() != QAudio::NoError) {
                reportProblem(QStringLiteral("The sound device cannot play %1.").arg(path));
                return;
            }
            sink_ = sink.release();
            source_ = source.release();
        },
        Qt::QueuedConnection);
}

void SoundWavePlayer::close()
{
    if (audioThread_.isRunning()) {
        QMetaObject::invokeMethod(
            worker_,
            [this] {
                if (sink_ != nullptr)
                    sink_->stop();
                delete sink_;
                delete source_;
                sink_ = nullptr;
                source_ = nullptr;
            },
            Qt::BlockingQueuedConnection);
    }
    path_.clear();
}

} // namespace lumavo

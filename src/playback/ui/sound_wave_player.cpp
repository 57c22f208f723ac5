#include "playback/ui/sound_wave_player.h"

#include "platform/sound_file.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>
#include <sndfile.h>

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

SoundWavePlayer::SoundWavePlayer() = default;

SoundWavePlayer::~SoundWavePlayer()
{
    close();
    if (audioThread_.isRunning()) {
        QMetaObject::invokeMethod(
            worker_, [this] { delete effect_; effect_ = nullptr; }, Qt::BlockingQueuedConnection);
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
    const QUrl source = QUrl::fromLocalFile(path_);
    QMetaObject::invokeMethod(
        worker_,
        [this, source] {
            if (effect_ == nullptr)
                effect_ = new QSoundEffect;
            effect_->setSource(source);
            effect_->play();   // starts once loaded
        },
        Qt::QueuedConnection);
}

void SoundWavePlayer::close()
{
    if (audioThread_.isRunning()) {
        QMetaObject::invokeMethod(
            worker_,
            [this] {
                if (effect_ != nullptr) {
                    effect_->stop();
                    effect_->setSource(QUrl());
                }
            },
            Qt::BlockingQueuedConnection);
    }
    path_.clear();
}

} // namespace lumavo

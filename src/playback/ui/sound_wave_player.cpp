#include "playback/ui/sound_wave_player.h"

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
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (file == nullptr)
        return failed(QString::fromLocal8Bit(sf_strerror(nullptr)));
    const int type = info.format & SF_FORMAT_TYPEMASK;
    sf_close(file);
    if (type != SF_FORMAT_WAV && type != SF_FORMAT_WAVEX)
        return failed(QStringLiteral("not a wave file"));
    if (info.frames <= 0 || info.channels <= 0)
        return failed(QStringLiteral("the wave file holds no sound"));
    return true;
}

SoundWavePlayer::SoundWavePlayer() = default;

SoundWavePlayer::~SoundWavePlayer() { close(); }

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
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    effect_->setSource(QUrl::fromLocalFile(path_));
    effect_->play();   // starts once loaded; returns at once
}

void SoundWavePlayer::close()
{
    if (effect_) {
        effect_->stop();
        effect_->setSource(QUrl());
    }
    path_.clear();
}

} // namespace lumavo

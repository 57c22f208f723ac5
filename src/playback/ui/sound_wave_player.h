#pragma once

#include "platform/wave_player.h"

#include <QString>
#include <memory>

class QSoundEffect;

namespace lumavo {

// Plays wave files through Qt Multimedia. open() checks the file with libsndfile at once (a
// missing, unreadable or non-wave file fails there); play() starts the sound without blocking;
// close() stops it. Without a sound device the sound is simply not heard.
class SoundWavePlayer final : public WavePlayer {
public:
    SoundWavePlayer();
    ~SoundWavePlayer() override;

    bool open(const QString& path, QString* error = nullptr) override;
    void play() override;
    void close() override;

    // The file open() accepted; empty when none.
    QString currentFile() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QSoundEffect> effect_;
};

// Checks that path names a readable wave (RIFF/WAVE) file; false with the reason when not.
bool checkWaveFile(const QString& path, QString* error);

} // namespace lumavo

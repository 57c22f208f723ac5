#pragma once

#include "platform/wave_player.h"

#include <QString>
#include <QThread>

class QSoundEffect;

namespace lumavo {

// Plays wave files through Qt Multimedia. open() checks the file with libsndfile at once (a
// missing, unreadable or non-wave file fails there); play() starts the sound without blocking;
// close() stops it. The sound runs in a thread of its own, so it keeps playing while playback
// holds the user-interface thread in a motion. Without a sound device nothing is heard.
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
    QThread audioThread_;
    QObject* worker_ = nullptr;          // lives in audioThread_
    QSoundEffect* effect_ = nullptr;     // created and used only in audioThread_
};

// Checks that path names a readable wave (RIFF/WAVE) file; false with the reason when not.
bool checkWaveFile(const QString& path, QString* error);

} // namespace lumavo

#pragma once

#include "platform/wave_player.h"

#include <QIODevice>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>
#include <sndfile.h>

class QAudioSink;

namespace lumavo {

// A sound file read as interleaved signed 16-bit samples, whole frames at a time, for an audio sink
// to pull. Every encoding libsndfile reads (plain and extensible wave headers, integer and float
// samples) comes out the same way.
class SoundFileDevice final : public QIODevice {
public:
    SoundFileDevice() = default;
    ~SoundFileDevice() override;
    // Opens the file for reading; false with the reason when it cannot be read as sound.
    bool openFile(const QString& path, QString* error);
    int sampleRate() const { return info_.samplerate; }
    int channels() const { return info_.channels; }

    bool isSequential() const override { return true; }
    bool atEnd() const override { return finished_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
    bool finished_ = false;
};

// Plays wave files through Qt Multimedia. open() checks the file with libsndfile at once (a
// missing, unreadable or non-wave file fails there); play() decodes it with libsndfile into an
// audio sink without blocking; close() stops it. The sound runs in a thread of its own, so it keeps
// playing while playback holds the user-interface thread in a motion. When sound cannot be played
// (no sound device, a device that refuses the format) the problem report is called once, on the
// thread that made the player.
class SoundWavePlayer final : public WavePlayer {
public:
    SoundWavePlayer();
    ~SoundWavePlayer() override;

    bool open(const QString& path, QString* error = nullptr) override;
    void play() override;
    void close() override;

    // The file open() accepted; empty when none.
    QString currentFile() const { return path_; }
    void setProblemReport(std::function<void(const QString&)> report) { report_ = std::move(report); }

private:
    // From the sound thread: passes the problem to the report once.
    void reportProblem(const QString& text);

    QString path_;
    std::function<void(const QString&)> report_;
    bool reported_ = false;
    std::unique_ptr<QObject> notifier_;  // lives in the thread that made the player
    QThread audioThread_;
    QObject* worker_ = nullptr;          // lives in audioThread_
    QAudioSink* sink_ = nullptr;         // created and used only in audioThread_
    SoundFileDevice* source_ = nullptr;  // likewise
};

// Checks that path names a readable wave (RIFF/WAVE) file; false with the reason when not.
bool checkWaveFile(const QString& path, QString* error);

} // namespace lumavo

#pragma once

#include "platform/clock.h"
#include "platform/wave_player.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct SwrContext;
struct sf_private_tag;

namespace lumavo {

// The sample rate and channel count of every exported sound track.
constexpr int kExportSampleRate = 48000;
constexpr int kExportChannels = 2;

// Reads a sound file from its start as 48 kHz stereo, resampled a piece at a time, so nothing is
// held at the sound's full length.
class WaveReader {
public:
    WaveReader() = default;
    ~WaveReader();
    WaveReader(const WaveReader&) = delete;
    WaveReader& operator=(const WaveReader&) = delete;

    // False with a reason when the file cannot be read as a sound.
    bool open(const QString& path, QString* error);
    // The sound's length in 48 kHz samples (the resampler may give a sample or two fewer).
    std::int64_t length() const { return length_; }
    // Adds the next `count` samples (count * 2 floats) into `out`; fewer at the end. Returns how
    // many were added.
    int addTo(float* out, int count);
    // Reads past `count` samples.
    void skip(std::int64_t count);

private:
    bool fill();   // decodes the next piece into pending_; false at the end

    sf_private_tag* file_ = nullptr;   // libsndfile's SNDFILE
    SwrContext* swr_ = nullptr;
    int channels_ = 0;
    std::int64_t length_ = 0;
    bool drained_ = false;
    std::vector<float> raw_, stereo_, pending_;
    std::size_t pendingAt_ = 0;   // floats of pending_ already handed out
};

// One wave as the track plays it: the file, from `start` until `end` (samples on the video's
// clock; end is the length of the sound when nothing closed it earlier).
struct PlacedSound {
    QString path;
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// The sound of an export: every wave the page player started, where it started and stopped.
class SoundTrack {
public:
    SoundTrack() = default;
    SoundTrack(SoundTrack&&) = default;
    SoundTrack& operator=(SoundTrack&&) = default;
    ~SoundTrack();

    void add(PlacedSound sound) { sounds_.push_back(std::move(sound)); }
    bool isEmpty() const { return sounds_.empty(); }
    const std::vector<PlacedSound>& sounds() const { return sounds_; }
    // Ends sound i at `sample` when it would play longer.
    void stopAt(std::size_t i, std::int64_t sample) { sounds_[i].end = std::min(sounds_[i].end, sample); }
    // Mixes the samples [from, from + count) into `out` (count * 2 floats, overwritten), clipped to
    // -1..1. The sounds are read from their files as the mix reaches them, so calls in order of
    // `from` read each file once. A file that cannot be opened any more (deleted or damaged since
    // the run was planned) gives the reason; the mix is then silent for it.
    [[nodiscard]] QString mix(std::int64_t from, int count, float* out);

private:
    struct Playing {
        std::size_t sound = 0;
        std::int64_t at = 0;   // the next sample of the track the reader gives
        std::unique_ptr<WaveReader> reader;
        bool ended = false;    // the file has given all it has
    };
    std::vector<PlacedSound> sounds_;
    std::vector<Playing> playing_;   // the sounds being read, in the order they started
    std::size_t nextToStart_ = 0;    // sounds_ before this one have been started
    std::int64_t mixedTo_ = 0;
};

// The sample on a 48 kHz clock of a time on the timeline, rounded to the nearest.
std::int64_t sampleAt(Clock::Nanoseconds at);

// A wave player that plays nothing and writes down, on the clock, when each file plays and closes.
class RecordingWavePlayer final : public WavePlayer {
public:
    RecordingWavePlayer(const Clock& clock, SoundTrack& track) : clock_(clock), track_(track) {}
    ~RecordingWavePlayer() override { close(); }

    bool open(const QString& path, QString* error) override;
    void play() override;
    void close() override;

private:
    void stop();

    const Clock& clock_;
    SoundTrack& track_;
    QString opened_;              // the file opened, empty when none
    std::int64_t openedLength_ = 0;
    int playing_ = -1;  // index in the track of the sound playing, or -1
};

} // namespace lumavo

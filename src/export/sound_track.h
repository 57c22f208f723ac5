#pragma once

#include "platform/clock.h"
#include "platform/wave_player.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace lumavo {

// The sample rate and channel count of every exported sound track.
constexpr int kExportSampleRate = 48000;
constexpr int kExportChannels = 2;

// One wave as the track plays it: decoded, at 48 kHz stereo, from `start` until `end` (samples on
// the video's clock; end is the length of the sound when nothing closed it earlier).
struct PlacedSound {
    std::shared_ptr<const std::vector<std::int16_t>> samples;  // interleaved left/right
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// The sound of an export: every wave the page player started, where it started and stopped.
class SoundTrack {
public:
    void add(PlacedSound sound) { sounds_.push_back(std::move(sound)); }
    bool isEmpty() const { return sounds_.empty(); }
    const std::vector<PlacedSound>& sounds() const { return sounds_; }
    // Ends sound i at `sample` when it would play longer.
    void stopAt(std::size_t i, std::int64_t sample) { sounds_[i].end = std::min(sounds_[i].end, sample); }
    // Mixes the samples [from, from + count) into `out` (count * 2 floats, overwritten), clipped to
    // -1..1.
    void mix(std::int64_t from, int count, float* out) const;

private:
    std::vector<PlacedSound> sounds_;
};

// The sample on a 48 kHz clock of a time on the timeline, rounded to the nearest.
std::int64_t sampleAt(Clock::Nanoseconds at);

// Decodes a sound file and resamples it to 48 kHz stereo 16-bit (what every sound stream of an
// export ends up as or is coded from; half the memory of floats), a piece at a time, so nothing
// but the result is held at full length. False with a reason when it cannot be read.
bool decodeWave(const QString& path, std::vector<std::int16_t>& out, QString* error);

// The waves of one export, each decoded and resampled once however often the pages play it; the
// plays share the samples.
class WaveCache {
public:
    using Samples = std::shared_ptr<const std::vector<std::int16_t>>;
    // The samples of `path` (null with a reason when it cannot be read; that is not kept, so a
    // later play says the same).
    Samples get(const QString& path, QString* error);

private:
    std::map<QString, Samples> waves_;
};

// A wave player that plays nothing and writes down, on the clock, when each file plays and closes.
class RecordingWavePlayer final : public WavePlayer {
public:
    RecordingWavePlayer(const Clock& clock, SoundTrack& track, WaveCache& waves)
        : clock_(clock), track_(track), waves_(waves)
    {
    }
    ~RecordingWavePlayer() override { close(); }

    bool open(const QString& path, QString* error) override;
    void play() override;
    void close() override;

private:
    void stop();

    const Clock& clock_;
    SoundTrack& track_;
    WaveCache& waves_;
    WaveCache::Samples opened_;
    int playing_ = -1;  // index in the track of the sound playing, or -1
};

} // namespace lumavo

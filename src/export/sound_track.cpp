#include "export/sound_track.h"

#include <sndfile.h>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <memory>

namespace lumavo {

namespace {

constexpr float kSampleScale = 32767.0f;

void appendSamples(std::vector<std::int16_t>& out, const float* samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(static_cast<std::int16_t>(std::lrint(std::clamp(samples[i], -1.0f, 1.0f) * kSampleScale)));
}

} // namespace

void SoundTrack::mix(std::int64_t from, int count, float* out) const
{
    std::fill(out, out + static_cast<std::ptrdiff_t>(count) * kExportChannels, 0.0f);
    const std::int64_t to = from + count;
    for (const PlacedSound& s : sounds_) {
        const std::int64_t length = static_cast<std::int64_t>(s.samples->size()) / kExportChannels;
        const std::int64_t end = std::min(s.end, s.start + length);
        const std::int64_t a = std::max(from, s.start);
        const std::int64_t b = std::min(to, end);
        const std::int16_t* src = s.samples->data();
        for (std::int64_t i = a; i < b; ++i)
            for (int c = 0; c < kExportChannels; ++c)
                out[(i - from) * kExportChannels + c] += src[(i - s.start) * kExportChannels + c] / kSampleScale;
    }
    for (int i = 0; i < count * kExportChannels; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

std::int64_t sampleAt(Clock::Nanoseconds at)
{
    return (at.count() * kExportSampleRate + 500'000'000) / 1'000'000'000;
}

bool decodeWave(const QString& path, std::vector<std::int16_t>& out, QString* error)
{
    const auto failWith = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    SF_INFO info{};
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    if (file == nullptr)
        return failWith(QString::fromLocal8Bit(sf_strerror(nullptr)));
    const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> closer(file, &sf_close);
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0)
        return failWith(QStringLiteral("not a sound file"));

    SwrContext* swr = nullptr;
    const auto freeSwr = [](SwrContext* s) { swr_free(&s); };
    if (info.samplerate != kExportSampleRate) {
        AVChannelLayout layout = AV_CHANNEL_LAYOUT_STEREO;
        if (swr_alloc_set_opts2(&swr, &layout, AV_SAMPLE_FMT_FLT, kExportSampleRate, &layout, AV_SAMPLE_FMT_FLT,
                                info.samplerate, 0, nullptr)
                < 0
            || swr_init(swr) < 0) {
            freeSwr(swr);
            return failWith(QStringLiteral("cannot resample the sound"));
        }
    }
    const std::unique_ptr<SwrContext, decltype(freeSwr)> swrOwner(swr, freeSwr);

    out.clear();
    const std::int64_t expected = info.frames * kExportSampleRate / info.samplerate + 64;
    if (expected < (std::int64_t{1} << 30))
        out.reserve(static_cast<std::size_t>(expected) * 2);
    constexpr int kChunk = 16384;
    std::vector<float> raw(static_cast<std::size_t>(kChunk) * static_cast<std::size_t>(info.channels));
    std::vector<float> stereo(static_cast<std::size_t>(kChunk) * 2);
    const int capacity = swr != nullptr ? swr_get_out_samples(swr, kChunk) + 64 : 0;
    std::vector<float> resampled(static_cast<std::size_t>(capacity) * 2);
    auto* resampledOut = reinterpret_cast<std::uint8_t*>(resampled.data());
    for (;;) {
        const sf_count_t read = sf_readf_float(file, raw.data(), kChunk);
        if (read <= 0)
            break;
        // Mono goes to both sides; more than two channels keep the first two.
        for (sf_count_t i = 0; i < read; ++i) {
            const float* frame = raw.data() + i * info.channels;
            stereo[static_cast<std::size_t>(i) * 2] = frame[0];
            stereo[static_cast<std::size_t>(i) * 2 + 1] = info.channels > 1 ? frame[1] : frame[0];
        }
        if (swr == nullptr) {
            appendSamples(out, stereo.data(), static_cast<std::size_t>(read) * 2);
            continue;
        }
        const auto* in = reinterpret_cast<const std::uint8_t*>(stereo.data());
        const int done = swr_convert(swr, &resampledOut, capacity, &in, static_cast<int>(read));
        if (done < 0)
            return failWith(QStringLiteral("cannot resample the sound"));
        appendSamples(out, resampled.data(), static_cast<std::size_t>(done) * 2);
    }
    // What the resampler still holds.
    for (int done = 1; swr != nullptr && done > 0;) {
        done = swr_convert(swr, &resampledOut, capacity, nullptr, 0);
        if (done < 0)
            return failWith(QStringLiteral("cannot resample the sound"));
        appendSamples(out, resampled.data(), static_cast<std::size_t>(done) * 2);
    }
    return true;
}

WaveCache::Samples WaveCache::get(const QString& path, QString* error)
{
    if (const auto found = waves_.find(path); found != waves_.end())
        return found->second;
    auto samples = std::make_shared<std::vector<std::int16_t>>();
    if (!decodeWave(path, *samples, error))
        return nullptr;
    waves_.emplace(path, samples);
    return samples;
}

bool RecordingWavePlayer::open(const QString& path, QString* error)
{
    close();
    opened_ = waves_.get(path, error);
    return opened_ != nullptr;
}

void RecordingWavePlayer::play()
{
    if (!opened_)
        return;
    stop();   // playing again restarts the sound
    const std::int64_t start = sampleAt(clock_.now());
    track_.add({opened_, start, start + static_cast<std::int64_t>(opened_->size()) / kExportChannels});
    playing_ = static_cast<int>(track_.sounds().size()) - 1;
}

void RecordingWavePlayer::stop()
{
    if (playing_ >= 0)
        track_.stopAt(static_cast<std::size_t>(playing_), sampleAt(clock_.now()));
    playing_ = -1;
}

void RecordingWavePlayer::close()
{
    stop();
    opened_.reset();
}

} // namespace lumavo

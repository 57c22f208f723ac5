#include "export/sound_track.h"

#include "platform/sound_file.h"

#include <sndfile.h>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>

namespace lumavo {

namespace {

constexpr int kChunk = 16384;   // sound frames decoded at a time

} // namespace

WaveReader::~WaveReader()
{
    if (file_ != nullptr)
        sf_close(file_);
    swr_free(&swr_);
}

bool WaveReader::open(const QString& path, QString* error)
{
    const auto failWith = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    SF_INFO info{};
    QString reason;
    file_ = openSoundFile(path, info, &reason);
    if (file_ == nullptr)
        return failWith(reason);
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 0)
        return failWith(QStringLiteral("not a sound file"));
    channels_ = info.channels;
    if (info.samplerate != kExportSampleRate) {
        AVChannelLayout layout = AV_CHANNEL_LAYOUT_STEREO;
        if (swr_alloc_set_opts2(&swr_, &layout, AV_SAMPLE_FMT_FLT, kExportSampleRate, &layout, AV_SAMPLE_FMT_FLT,
                                info.samplerate, 0, nullptr)
                < 0
            || swr_init(swr_) < 0)
            return failWith(QStringLiteral("cannot resample the sound"));
    }
    length_ = static_cast<std::int64_t>((static_cast<__int128>(info.frames) * kExportSampleRate + info.samplerate - 1)
                                        / info.samplerate);
    raw_.resize(static_cast<std::size_t>(kChunk) * static_cast<std::size_t>(channels_));
    stereo_.resize(static_cast<std::size_t>(kChunk) * 2);
    return true;
}

bool WaveReader::fill()
{
    if (file_ == nullptr || drained_)
        return false;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pendingAt_));
    pendingAt_ = 0;
    const sf_count_t read = sf_readf_float(file_, raw_.data(), kChunk);
    const int frames = read > 0 ? static_cast<int>(read) : 0;
    // Mono goes to both sides; more than two channels keep the first two.
    for (int i = 0; i < frames; ++i) {
        const float* frame = raw_.data() + static_cast<std::ptrdiff_t>(i) * channels_;
        stereo_[static_cast<std::size_t>(i) * 2] = frame[0];
        stereo_[static_cast<std::size_t>(i) * 2 + 1] = channels_ > 1 ? frame[1] : frame[0];
    }
    if (swr_ == nullptr) {
        pending_.insert(pending_.end(), stereo_.begin(), stereo_.begin() + static_cast<std::ptrdiff_t>(frames) * 2);
        drained_ = frames == 0;
        return frames > 0;
    }
    // At the end of the file the resampler gives what it still holds.
    const int capacity = swr_get_out_samples(swr_, frames) + 64;
    const std::size_t before = pending_.size();
    pending_.resize(before + static_cast<std::size_t>(capacity) * 2);
    auto* out = reinterpret_cast<std::uint8_t*>(pending_.data() + before);
    const auto* in = reinterpret_cast<const std::uint8_t*>(stereo_.data());
    const int done = swr_convert(swr_, &out, capacity, frames > 0 ? &in : nullptr, frames);
    pending_.resize(before + static_cast<std::size_t>(std::max(done, 0)) * 2);
    if (frames == 0 && done <= 0)
        drained_ = true;
    return done > 0 || frames > 0;
}

int WaveReader::addTo(float* out, int count)
{
    int given = 0;
    while (given < count) {
        if (pendingAt_ == pending_.size() && !fill())
            break;
        const int n = std::min(count - given, static_cast<int>((pending_.size() - pendingAt_) / 2));
        const float* src = pending_.data() + pendingAt_;
        for (int i = 0; i < n * 2; ++i)
            out[given * 2 + i] += src[i];
        pendingAt_ += static_cast<std::size_t>(n) * 2;
        given += n;
    }
    return given;
}

void WaveReader::skip(std::int64_t count)
{
    while (count > 0) {
        if (pendingAt_ == pending_.size() && !fill())
            return;
        const std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>((pending_.size() - pendingAt_) / 2));
        pendingAt_ += static_cast<std::size_t>(n) * 2;
        count -= n;
    }
}

SoundTrack::~SoundTrack() = default;

QString SoundTrack::mix(std::int64_t from, int count, float* out)
{
    QString error;
    std::fill(out, out + static_cast<std::ptrdiff_t>(count) * kExportChannels, 0.0f);
    if (from < mixedTo_) {
        // Back to an earlier place: every sound is read again from its start.
        playing_.clear();
        nextToStart_ = 0;
    }
    const std::int64_t to = from + count;
    mixedTo_ = to;
    // The sounds starting before `to` join the ones being read (the track holds them in the order
    // they started, as the player adds them).
    for (; nextToStart_ < sounds_.size() && sounds_[nextToStart_].start < to; ++nextToStart_) {
        const PlacedSound& s = sounds_[nextToStart_];
        if (s.end <= std::max(from, s.start))
            continue;
        auto reader = std::make_unique<WaveReader>();
        QString reason;
        if (reader->open(s.path, &reason))
            playing_.push_back({nextToStart_, s.start, std::move(reader)});
        else if (error.isEmpty())
            error = QStringLiteral("the sound %1 cannot be read any more: %2").arg(s.path, reason);
    }
    for (Playing& p : playing_) {
        const PlacedSound& s = sounds_[p.sound];
        const std::int64_t a = std::max(from, s.start);
        const std::int64_t b = std::min(to, s.end);
        if (a > p.at) {
            p.reader->skip(a - p.at);
            p.at = a;
        }
        if (b > a) {
            const int wanted = static_cast<int>(b - a);
            const int given = p.reader->addTo(out + (a - from) * kExportChannels, wanted);
            p.at += given;
            p.ended = given < wanted;
            // The resampler may give a few samples fewer than the length; a file that ends well
            // before it was cut short since the run was planned.
            constexpr std::int64_t kResamplerSlack = 64;
            if (p.ended && p.at + kResamplerSlack < s.end && error.isEmpty())
                error = QStringLiteral("the sound %1 ends early: it was cut short while it was read").arg(s.path);
        }
    }
    // A sound that has ended closes its file.
    std::erase_if(playing_, [&](const Playing& p) { return p.ended || p.at >= sounds_[p.sound].end; });
    for (int i = 0; i < count * kExportChannels; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    return error;
}

std::int64_t sampleAt(Clock::Nanoseconds at)
{
    return (at.count() * kExportSampleRate + 500'000'000) / 1'000'000'000;
}

bool RecordingWavePlayer::open(const QString& path, QString* error)
{
    close();
    WaveReader reader;
    if (!reader.open(path, error))
        return false;
    opened_ = path;
    openedLength_ = reader.length();
    return true;
}

void RecordingWavePlayer::play()
{
    if (opened_.isEmpty())
        return;
    stop();   // playing again restarts the sound
    const std::int64_t start = sampleAt(clock_.now());
    track_.add({opened_, start, start + openedLength_});
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
    opened_.clear();
}

} // namespace lumavo

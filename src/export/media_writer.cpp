#include "export/media_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <thread>
#include <vector>

namespace lumavo {

namespace {

constexpr int kMaxEncoderThreads = 3;
constexpr int kProResQuantiser = 4;

QString avError(const char* what, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(text));
}

struct VideoCodecChoice {
    const char* encoder;
    AVPixelFormat pixelFormat;
};

VideoCodecChoice videoCodecFor(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Mp4: return {"libx264", AV_PIX_FMT_YUV420P};
    case ExportFormat::Mov: return {"prores_ks", AV_PIX_FMT_YUVA444P10LE};
    case ExportFormat::WebM: return {"libvpx-vp9", AV_PIX_FMT_YUVA420P};
    case ExportFormat::PngSequence: break;
    }
    return {"png", AV_PIX_FMT_RGBA};
}

} // namespace

struct MediaWriter::Impl {
    AVFormatContext* out = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* sws = nullptr;
    SwrContext* swr = nullptr;
    // The pictures handed to the video encoder. An encoder with frame threads keeps references to
    // the frames it is still working on, and writing into one of those would first copy it whole,
    // so another picture is made, up to maxPictures. The stale band of a picture is the rows that
    // changed since it was last converted.
    struct Picture {
        AVFrame* frame = nullptr;
        int staleTop = 0;
        int staleBottom = 0;
        std::int64_t sent = -1;   // the frame it was last sent as
    };
    std::vector<Picture> pictures;
    std::size_t maxPictures = 1;
    AVFrame* audioFrame = nullptr;
    AVPacket* packet = nullptr;
    SoundTrack* track = nullptr;
    FrameRate rate;
    std::int64_t frames = 0;
    std::int64_t audioDone = 0;   // samples written
    int audioFrameSize = 1024;
    // Added to the sound's times: WebM places the encoder's first, padded samples before 0 and
    // would move the whole file later by as much, so the sound goes in later by that padding.
    std::int64_t ptsDelay = 0;
    bool headerWritten = false;
    bool fileOpened = false;
    std::vector<float> mixBuffer;

    ~Impl()
    {
        if (fileOpened)
            avio_closep(&out->pb);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        avformat_free_context(out);
        sws_freeContext(sws);
        swr_free(&swr);
        for (Picture& p : pictures)
            av_frame_free(&p.frame);
        av_frame_free(&audioFrame);
        av_packet_free(&packet);
    }

    // A picture the encoder no longer holds: the one sent last of those there are (its stale band
    // is the smallest), a new one while there are fewer than maxPictures, else the one sent
    // longest ago, copied (av_frame_make_writable).
    Picture* freePicture(QString* error)
    {
        Picture* free = nullptr;
        for (Picture& p : pictures)
            if (av_frame_is_writable(p.frame) && (free == nullptr || p.sent > free->sent))
                free = &p;
        if (free != nullptr)
            return free;
        if (pictures.size() < maxPictures) {
            Picture p;
            p.frame = av_frame_alloc();
            int ret = AVERROR(ENOMEM);
            if (p.frame != nullptr) {
                p.frame->format = video->pix_fmt;
                p.frame->width = video->width;
                p.frame->height = video->height;
                // Encoders such as ProRes write the frame's own colour description, not the stream's.
                p.frame->color_primaries = video->color_primaries;
                p.frame->color_trc = video->color_trc;
                p.frame->colorspace = video->colorspace;
                p.frame->color_range = video->color_range;
                p.frame->sample_aspect_ratio = video->sample_aspect_ratio;
                ret = av_frame_get_buffer(p.frame, 0);
            }
            if (ret < 0) {
                av_frame_free(&p.frame);
                *error = avError("out of memory", ret);
                return nullptr;
            }
            p.staleBottom = video->height;   // converted whole the first time
            pictures.push_back(p);
            return &pictures.back();
        }
        Picture* oldest = &*std::min_element(pictures.begin(), pictures.end(),
                                             [](const Picture& a, const Picture& b) { return a.sent < b.sent; });
        if (const int ret = av_frame_make_writable(oldest->frame); ret < 0) {
            *error = avError("out of memory", ret);
            return nullptr;
        }
        return oldest;
    }

    // Sends a frame (null flushes) and writes every packet the encoder gives back.
    QString encode(AVCodecContext* codec, AVStream* stream, const AVFrame* input)
    {
        int ret = avcodec_send_frame(codec, input);
        if (ret < 0)
            return avError("cannot encode", ret);
        for (;;) {
            ret = avcodec_receive_packet(codec, packet);
            if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF)
                return {};
            if (ret < 0)
                return avError("cannot encode", ret);
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            ret = av_interleaved_write_frame(out, packet);
            if (ret < 0)
                return avError("cannot write", ret);
        }
    }

    QString openAudio(ExportFormat format)
    {
        const AVCodec* codec = nullptr;
        if (format == ExportFormat::Mp4)
            codec = avcodec_find_encoder_by_name("aac");
        else if (format == ExportFormat::Mov)
            codec = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        else {
            codec = avcodec_find_encoder_by_name("libopus");
            if (codec == nullptr)
                codec = avcodec_find_encoder_by_name("opus");
        }
        if (codec == nullptr)
            return QStringLiteral("no sound encoder for this format is installed");
        audio = avcodec_alloc_context3(codec);
        audio->sample_rate = kExportSampleRate;
        audio->time_base = {1, kExportSampleRate};
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        av_channel_layout_copy(&audio->ch_layout, &stereo);
        audio->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
        for (const AVSampleFormat* f = codec->sample_fmts; f != nullptr && *f != AV_SAMPLE_FMT_NONE; ++f)
            if (*f == AV_SAMPLE_FMT_FLT || *f == AV_SAMPLE_FMT_FLTP)
                audio->sample_fmt = *f;
        if (format != ExportFormat::Mov)
            audio->bit_rate = 192000;
        audio->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
        if (out->oformat->flags & AVFMT_GLOBALHEADER)
            audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int ret = avcodec_open2(audio, codec, nullptr);
        if (ret < 0)
            return avError("cannot open the sound encoder", ret);
        if (audio->frame_size > 0)
            audioFrameSize = audio->frame_size;
        if (format == ExportFormat::WebM)
            ptsDelay = audio->initial_padding;
        audioStream = avformat_new_stream(out, nullptr);
        audioStream->time_base = audio->time_base;
        avcodec_parameters_from_context(audioStream->codecpar, audio);
        ret = swr_alloc_set_opts2(&swr, &audio->ch_layout, audio->sample_fmt, kExportSampleRate, &stereo,
                                  AV_SAMPLE_FMT_FLT, kExportSampleRate, 0, nullptr);
        if (ret < 0 || (ret = swr_init(swr)) < 0)
            return avError("cannot convert the sound", ret);
        audioFrame = av_frame_alloc();
        audioFrame->format = audio->sample_fmt;
        av_channel_layout_copy(&audioFrame->ch_layout, &audio->ch_layout);
        audioFrame->sample_rate = kExportSampleRate;
        audioFrame->nb_samples = audioFrameSize;
        ret = av_frame_get_buffer(audioFrame, 0);
        if (ret < 0)
            return avError("out of memory", ret);
        mixBuffer.resize(static_cast<std::size_t>(audioFrameSize) * kExportChannels);
        return {};
    }

    // Writes the sound up to `until` samples, in whole encoder frames unless `last`.
    QString writeAudioUntil(std::int64_t until, bool last)
    {
        while (audioDone < until && (last || until - audioDone >= audioFrameSize)) {
            const bool small = until - audioDone < audioFrameSize;
            const bool canShorten = (audio->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0
                || audio->frame_size == 0;
            const int count = small && canShorten ? static_cast<int>(until - audioDone) : audioFrameSize;
            if (QString e = track->mix(audioDone, count, mixBuffer.data()); !e.isEmpty())
                return e;
            int ret = av_frame_make_writable(audioFrame);
            if (ret < 0)
                return avError("out of memory", ret);
            audioFrame->nb_samples = count;
            const auto* src = reinterpret_cast<const std::uint8_t*>(mixBuffer.data());
            ret = swr_convert(swr, audioFrame->data, count, &src, count);
            if (ret < 0)
                return avError("cannot convert the sound", ret);
            audioFrame->pts = audioDone + ptsDelay;
            audioDone += count;
            if (QString e = encode(audio, audioStream, audioFrame); !e.isEmpty())
                return e;
        }
        return {};
    }

    std::int64_t samplesUntilFrame(std::int64_t k) const
    {
        return k * kExportSampleRate * rate.den / rate.num;
    }
};

void convertRowBand(SwsContext* sws, AVFrame* frame, const std::uint8_t* rgba, int stride, int top, int bottom)
{
    // From an even row to an even row, so 4:2:0 chroma rows are whole.
    top = std::clamp(top, 0, frame->height) & ~1;
    bottom = std::min((std::clamp(bottom, 0, frame->height) + 1) & ~1, frame->height);
    if (bottom <= top)
        return;
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    const std::uint8_t* src = rgba + static_cast<std::ptrdiff_t>(top) * stride;
    std::uint8_t* dst[4] = {};
    for (int plane = 0; plane < 4 && frame->data[plane] != nullptr; ++plane) {
        const int shift = (plane == 1 || plane == 2) ? desc->log2_chroma_h : 0;
        dst[plane] = frame->data[plane] + static_cast<std::ptrdiff_t>(top >> shift) * frame->linesize[plane];
    }
    sws_scale(sws, &src, &stride, 0, bottom - top, dst, frame->linesize);
}

MediaWriter::MediaWriter() : d_(std::make_unique<Impl>()) {}
MediaWriter::~MediaWriter() = default;

std::int64_t MediaWriter::framesWritten() const
{
    return d_->frames;
}

QString MediaWriter::open(const QString& path, ExportFormat format, Point size, FrameRate rate, int crf,
                          SoundTrack* track, ProResProfile proRes)
{
    Impl& d = *d_;
    d.rate = rate;
    av_log_set_level(AV_LOG_QUIET);   // failures come back as one message of our own
    const QByteArray fileName = path.toLocal8Bit();
    const char* muxer = format == ExportFormat::PngSequence ? "image2" : nullptr;
    int ret = avformat_alloc_output_context2(&d.out, nullptr, muxer, fileName.constData());
    if (ret < 0 || d.out == nullptr)
        return avError("cannot start the file", ret);

    VideoCodecChoice choice = videoCodecFor(format);
    if (format == ExportFormat::Mov && proRes == ProResProfile::P422HQ)
        choice.pixelFormat = AV_PIX_FMT_YUV422P10LE;
    const AVCodec* codec = avcodec_find_encoder_by_name(choice.encoder);
    if (codec == nullptr)
        return QStringLiteral("the %1 encoder is not installed").arg(QLatin1String(choice.encoder));
    d.video = avcodec_alloc_context3(codec);
    d.video->width = size.x;
    d.video->height = size.y;
    d.video->pix_fmt = choice.pixelFormat;
    d.video->time_base = {rate.den, rate.num};
    d.video->framerate = {rate.num, rate.den};
    d.video->gop_size = 2 * rate.num / rate.den;
    // Every frame thread of x264 holds frames of its own (about 20 MB each at 1080p), so the count
    // is capped: the demo project at 1080p peaks at 260 MB with two, 284 with three, 301 with four.
    d.video->thread_count = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxEncoderThreads);
    d.video->color_primaries = AVCOL_PRI_BT709;
    d.video->color_trc = AVCOL_TRC_BT709;
    d.video->colorspace = AVCOL_SPC_BT709;
    d.video->color_range = format == ExportFormat::PngSequence ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
    d.video->sample_aspect_ratio = {1, 1};   // square pixels
    if (d.out->oformat->flags & AVFMT_GLOBALHEADER)
        d.video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (format == ExportFormat::Mp4) {
        av_dict_set(&options, "preset", "veryfast", 0);
        av_dict_set_int(&options, "crf", crf, 0);
        // A shorter look-ahead than veryfast's 10 frames, and a queue of two frames for the
        // look-ahead thread instead of threads + B-frames: frames stream through instead of
        // piling up in the encoder. (No queue at all would run the look-ahead on this thread.)
        av_dict_set(&options, "x264-params", "rc-lookahead=5:sync-lookahead=2", 0);
    } else if (format == ExportFormat::Mov) {
        av_dict_set(&options, "profile", proRes == ProResProfile::P4444XQ ? "4444xq"
                                             : proRes == ProResProfile::P422HQ ? "hq"
                                                                                 : "4444", 0);
        // A fixed quantiser instead of the search for one on every slice, which made the encoder
        // five times slower; at 4 the picture stays far above what 8-bit titles can show.
        d.video->flags |= AV_CODEC_FLAG_QSCALE;
        d.video->global_quality = kProResQuantiser * FF_QP2LAMBDA;
    } else if (format == ExportFormat::WebM) {
        d.video->bit_rate = 0;
        av_dict_set_int(&options, "crf", crf + 11, 0);
        av_dict_set(&options, "deadline", "realtime", 0);
        av_dict_set(&options, "cpu-used", "8", 0);
        av_dict_set(&options, "row-mt", "1", 0);
        av_dict_set(&options, "lag-in-frames", "0", 0);   // no look-ahead: frames stream through
    }
    ret = avcodec_open2(d.video, codec, &options);
    av_dict_free(&options);
    if (ret < 0)
        return avError("cannot open the video encoder", ret);
    d.videoStream = avformat_new_stream(d.out, nullptr);
    d.videoStream->time_base = d.video->time_base;
    d.videoStream->avg_frame_rate = d.video->framerate;
    d.videoStream->r_frame_rate = d.video->framerate;
    avcodec_parameters_from_context(d.videoStream->codecpar, d.video);

    if (track != nullptr && !track->isEmpty() && format != ExportFormat::PngSequence) {
        d.track = track;
        if (QString e = d.openAudio(format); !e.isEmpty())
            return e;
    }

    d.sws = sws_getContext(size.x, size.y, AV_PIX_FMT_RGBA, size.x, size.y, choice.pixelFormat, SWS_POINT,
                           nullptr, nullptr, nullptr);
    if (d.sws == nullptr)
        return QStringLiteral("cannot convert frames to the encoder's format");
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(d.sws, bt709, 1, bt709, format == ExportFormat::PngSequence ? 1 : 0, 0, 1 << 16,
                             1 << 16);
    d.maxPictures = static_cast<std::size_t>(d.video->thread_count) + 2;
    d.packet = av_packet_alloc();

    if (!(d.out->oformat->flags & AVFMT_NOFILE)) {
        ret = avio_open(&d.out->pb, fileName.constData(), AVIO_FLAG_WRITE);
        if (ret < 0)
            return avError("cannot create the file", ret);
        d.fileOpened = true;
    }
    AVDictionary* muxOptions = nullptr;
    if (format == ExportFormat::Mp4 || format == ExportFormat::Mov)
        av_dict_set(&muxOptions, "movflags", "+faststart", 0);
    if (format == ExportFormat::PngSequence)
        av_dict_set(&muxOptions, "start_number", "0", 0);
    ret = avformat_write_header(d.out, &muxOptions);
    av_dict_free(&muxOptions);
    if (ret < 0)
        return avError("cannot write the file header", ret);
    d.headerWritten = true;
    return {};
}

QString MediaWriter::writeFrame(const std::uint8_t* rgba, int stride, int changedTop, int changedBottom)
{
    Impl& d = *d_;
    if (changedBottom > changedTop)
        for (Impl::Picture& p : d.pictures) {
            p.staleTop = p.staleBottom > p.staleTop ? std::min(p.staleTop, changedTop) : changedTop;
            p.staleBottom = std::max(p.staleBottom, changedBottom);
        }
    // A picture keeps what it showed when it was last sent, so only its stale band is converted.
    QString error;
    Impl::Picture* picture = d.freePicture(&error);
    if (picture == nullptr)
        return error;
    AVFrame* frame = picture->frame;
    convertRowBand(d.sws, frame, rgba, stride, picture->staleTop, picture->staleBottom);
    picture->staleTop = picture->staleBottom = 0;
    picture->sent = d.frames;
    frame->pts = d.frames++;
    if (QString e = d.encode(d.video, d.videoStream, frame); !e.isEmpty())
        return e;
    if (d.audio != nullptr)
        return d.writeAudioUntil(d.samplesUntilFrame(d.frames), false);
    return {};
}

QString MediaWriter::finish()
{
    Impl& d = *d_;
    if (QString e = d.encode(d.video, d.videoStream, nullptr); !e.isEmpty())
        return e;
    if (d.audio != nullptr) {
        if (QString e = d.writeAudioUntil(d.samplesUntilFrame(d.frames), true); !e.isEmpty())
            return e;
        if (QString e = d.encode(d.audio, d.audioStream, nullptr); !e.isEmpty())
            return e;
    }
    int ret = av_write_trailer(d.out);
    if (ret < 0)
        return avError("cannot finish the file", ret);
    if (d.fileOpened) {
        avio_flush(d.out->pb);
        ret = d.out->pb->error;
        d.fileOpened = false;
        const int closed = avio_closep(&d.out->pb);
        if (ret < 0 || closed < 0)
            return avError("cannot write the file", ret < 0 ? ret : closed);
    }
    return {};
}

} // namespace lumavo

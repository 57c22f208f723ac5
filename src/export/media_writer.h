#pragma once

#include "export/export_settings.h"
#include "export/sound_track.h"

#include <QString>
#include <cstdint>
#include <memory>

struct AVFrame;
struct SwsContext;

namespace lumavo {

// Converts rows [top, bottom) of an RGBA picture into `frame` (same size) with `sws`; the rest of
// the frame keeps what it had.
void convertRowBand(SwsContext* sws, AVFrame* frame, const std::uint8_t* rgba, int stride, int top, int bottom);

// Encodes RGBA frames (and a sound track) into a file through FFmpeg's libraries. Every call gives
// an empty string on success or one line saying what went wrong; after a failure only the
// destructor is of use.
class MediaWriter {
public:
    MediaWriter();
    ~MediaWriter();
    MediaWriter(const MediaWriter&) = delete;
    MediaWriter& operator=(const MediaWriter&) = delete;

    // Opens `path` (for a PNG sequence, the numbered pattern, '%' doubled elsewhere) for `format`; sound is written from
    // `track` when it is given and the format has a sound stream (a PNG sequence has none).
    QString open(const QString& path, ExportFormat format, Point size, FrameRate rate, int crf,
                 SoundTrack* track, ProResProfile proRes = ProResProfile::P4444);
    // Encodes the next frame: width * height pixels of R, G, B, A bytes, rows `stride` bytes apart.
    // Only rows [changedTop, changedBottom) differ from the previous frame: only they are converted
    // to the encoder's pixel format (the first frame is converted whole).
    QString writeFrame(const std::uint8_t* rgba, int stride, int changedTop, int changedBottom);
    // Ends the streams and writes the file's index.
    QString finish();

    std::int64_t framesWritten() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace lumavo

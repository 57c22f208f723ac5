#pragma once

#include <QString>
#include <memory>

namespace lumavo {

// Plays one wave file without blocking.
class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    // Opens and checks the file at once; false with a reason for a missing or non-wave file.
    virtual bool open(const QString& path, QString* error = nullptr) = 0;
    // Starts playing what open() accepted; returns at once. Silent when no sound device exists.
    virtual void play() = 0;
    // Stops the sound and forgets the file.
    virtual void close() = 0;
};

} // namespace lumavo

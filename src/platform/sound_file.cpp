#include "platform/sound_file.h"

#include "platform/atomic_file.h"

namespace lumavo {

SNDFILE* openSoundFile(const QString& path, SF_INFO& info, QString* error)
{
    QString why;
    const int fd = openRegularFileForReading(path, &why);
    if (fd < 0) {
        if (error)
            *error = why;
        return nullptr;
    }
    info = SF_INFO{};
    // The descriptor is libsndfile's from here: it closes it on failure and in sf_close.
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file == nullptr && error)
        *error = QString::fromLocal8Bit(sf_strerror(nullptr));
    return file;
}

} // namespace lumavo

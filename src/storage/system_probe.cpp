#include "storage/system_probe.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>

#include <alsa/asoundlib.h>
#include <malloc.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cmath>
#include <memory>

namespace lumavo {

namespace {

// ALSA writes its own complaints to stderr; the window reports what matters.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

struct PcmEntry {
    int card = 0;
    int device = 0;
    QString name;
};

struct SeqEntry {
    QString name;
    unsigned type = 0;
    int synthVoices = 0;
    int midiVoices = 0;
    int midiChannels = 0;
};

snd_pcm_stream_t pcmStream(DeviceKind kind)
{
    return kind == DeviceKind::WaveOut ? SND_PCM_STREAM_PLAYBACK : SND_PCM_STREAM_CAPTURE;
}

// Every PCM device of the stream's direction, in card and device order.
std::vector<PcmEntry> listPcm(snd_pcm_stream_t stream)
{
    std::vector<PcmEntry> out;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) {
        snd_ctl_t* ctl = nullptr;
        const QByteArray ctlName = QStringLiteral("hw:%1").arg(card).toLatin1();
        if (snd_ctl_open(&ctl, ctlName.constData(), SND_CTL_NONBLOCK) < 0)
            continue;
        snd_pcm_info_t* info = nullptr;
        snd_pcm_info_malloc(&info);
        int device = -1;
        while (snd_ctl_pcm_next_device(ctl, &device) == 0 && device >= 0) {
            snd_pcm_info_set_device(info, static_cast<unsigned>(device));
            snd_pcm_info_set_subdevice(info, 0);
            snd_pcm_info_set_stream(info, stream);
            if (snd_ctl_pcm_info(ctl, info) < 0)
                continue;
            out.push_back({card, device, QString::fromUtf8(snd_pcm_info_get_name(info))});
        }
        snd_pcm_info_free(info);
        snd_ctl_close(ctl);
    }
    return out;
}

// Formats and channels from the device's hardware parameters; zero when it cannot be opened.
void probePcm(const QByteArray& pcmName, snd_pcm_stream_t stream, DeviceCaps& caps)
{
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, pcmName.constData(), stream, SND_PCM_NONBLOCK) < 0)
        return;
    snd_pcm_hw_params_t* any = nullptr;
    snd_pcm_hw_params_t* trial = nullptr;
    snd_pcm_hw_params_malloc(&any);
    snd_pcm_hw_params_malloc(&trial);
    if (snd_pcm_hw_params_any(pcm, any) >= 0) {
        unsigned maxChannels = 0;
        if (snd_pcm_hw_params_get_channels_max(any, &maxChannels) >= 0)
            caps.channels = static_cast<int>(std::min(maxChannels, 1024u));
        // Bit order: rate (11025, 22050, 44100), then 16-bit over 8-bit, then stereo over mono.
        constexpr unsigned kRates[] = {11025, 22050, 44100};
        constexpr snd_pcm_format_t kSizes[] = {SND_PCM_FORMAT_U8, SND_PCM_FORMAT_S16_LE};
        for (int r = 0; r < 3; ++r)
            for (int s = 0; s < 2; ++s)
                for (unsigned channels = 1; channels <= 2; ++channels) {
                    snd_pcm_hw_params_copy(trial, any);
                    if (snd_pcm_hw_params_set_format(pcm, trial, kSizes[s]) < 0
                        || snd_pcm_hw_params_set_channels(pcm, trial, channels) < 0
                        || snd_pcm_hw_params_test_rate(pcm, trial, kRates[r], 0) < 0)
                        continue;
                    const int bit = r * 4 + s * 2 + static_cast<int>(channels - 1);
                    caps.formats |= 1u << bit;
                }
    }
    snd_pcm_hw_params_free(trial);
    snd_pcm_hw_params_free(any);
    snd_pcm_close(pcm);
}

std::vector<SeqEntry> listSeqPorts(bool writable)
{
    std::vector<SeqEntry> out;
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return out;
    const int self = snd_seq_client_id(seq);
    const unsigned wanted = writable ? (SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE)
                                     : (SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ);
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_malloc(&client);
    snd_seq_port_info_malloc(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == SND_SEQ_CLIENT_SYSTEM || id == self)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT) != 0)
                continue;
            out.push_back({QString::fromUtf8(snd_seq_port_info_get_name(port)),
                           snd_seq_port_info_get_type(port), snd_seq_port_info_get_synth_voices(port),
                           snd_seq_port_info_get_midi_voices(port),
                           snd_seq_port_info_get_midi_channels(port)});
        }
    }
    snd_seq_port_info_free(port);
    snd_seq_client_info_free(client);
    snd_seq_close(seq);
    return out;
}

std::uint32_t alsaVersion()
{
    const QStringList parts = QString::fromLatin1(snd_asoundlib_version()).split('.');
    const auto part = [&](int i) { return i < parts.size() ? parts[i].toUInt() & 0xFFu : 0u; };
    return (part(0) << 8) | part(1);
}

bool isWave(DeviceKind kind) { return kind == DeviceKind::WaveOut || kind == DeviceKind::WaveIn; }

QString readTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll());
}

int cpuinfoValue(const QString& cpuinfo, const QString& key)
{
    const QRegularExpression line(QStringLiteral("^%1\\s*:\\s*(\\d+)").arg(QRegularExpression::escape(key)),
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(cpuinfo);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

LinuxSystemProbe::LinuxSystemProbe() { snd_lib_error_set_handler(quietAlsa); }

DisplayFigures LinuxSystemProbe::display() const
{
    DisplayFigures d;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return d;
    const qreal ratio = screen->devicePixelRatio();
    d.bitsPerPixel = screen->depth();
    d.colorResolution = std::min(screen->depth(), 24);
    d.widthPx = static_cast<int>(std::lround(screen->geometry().width() * ratio));
    d.heightPx = static_cast<int>(std::lround(screen->geometry().height() * ratio));
    d.refreshRateHz = static_cast<int>(std::lround(screen->refreshRate()));
    d.virtualWidthPx = static_cast<int>(std::lround(screen->virtualSize().width() * ratio));
    d.virtualHeightPx = static_cast<int>(std::lround(screen->virtualSize().height() * ratio));
    const qreal dpiX = screen->physicalDotsPerInchX();
    const qreal dpiY = screen->physicalDotsPerInchY();
    if (dpiX > 0 && dpiY > 0)
        d.aspectY = static_cast<int>(std::lround(36.0 * dpiX / dpiY));
    d.widthMm = static_cast<int>(std::lround(screen->physicalSize().width()));
    d.heightMm = static_cast<int>(std::lround(screen->physicalSize().height()));
    d.logicalDpiX = static_cast<int>(std::lround(screen->logicalDotsPerInchX()));
    d.logicalDpiY = static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
    return d;
}

SystemFigures LinuxSystemProbe::system() const
{
    SystemFigures s;
    s.osName = QStringLiteral("Unknown");
    utsname names{};
    if (uname(&names) == 0) {
        s.osName = QString::fromLatin1(names.sysname);
        const QRegularExpression version(QStringLiteral("^(\\d+)\\.(\\d+)"));
        const auto match = version.match(QString::fromLatin1(names.release));
        if (match.hasMatch()) {
            s.versionMajor = match.captured(1).toInt();
            s.versionMinor = match.captured(2).toInt();
        }
        const QString machine = QString::fromLatin1(names.machine);
        if (machine == QLatin1String("x86_64"))
            s.processorType = 8664;
        else if (machine == QLatin1String("i386"))
            s.processorType = 386;
        else if (machine == QLatin1String("i486"))
            s.processorType = 486;
        else if (machine == QLatin1String("i586") || machine == QLatin1String("i686"))
            s.processorType = 586;
    }
    s.processorCount = static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    const QString cpuinfo = readTextFile(QStringLiteral("/proc/cpuinfo"));
    s.processorLevel = cpuinfoValue(cpuinfo, QStringLiteral("cpu family"));
    s.processorRevision = (cpuinfoValue(cpuinfo, QStringLiteral("model")) << 8)
                          | cpuinfoValue(cpuinfo, QStringLiteral("stepping"));
    return s;
}

std::optional<MemoryStatus> parseMeminfo(const QString& text)
{
    std::map<QString, std::uint64_t> kb;
    const QRegularExpression line(QStringLiteral("^(\\w+):\\s*(\\d+)"), QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        kb[match.captured(1)] = match.captured(2).toULongLong();
    }
    const auto value = [&](const char* key) {
        const auto found = kb.find(QString::fromLatin1(key));
        return found == kb.end() ? std::uint64_t{0} : found->second * 1024;
    };
    MemoryStatus m;
    m.totalPhys = value("MemTotal");
    if (m.totalPhys == 0)
        return std::nullopt;
    m.availPhys = std::min(kb.count(QStringLiteral("MemAvailable")) ? value("MemAvailable") : value("MemFree"),
                           m.totalPhys);
    m.totalVirt = m.totalPhys + value("SwapTotal");
    m.availVirt = std::min(m.availPhys + value("SwapFree"), m.totalVirt);
    m.loadPercent = static_cast<int>((m.totalPhys - m.availPhys) * 100 / m.totalPhys);
    return m;
}

MemoryStatus LinuxSystemProbe::memoryStatus() const
{
    if (const auto parsed = parseMeminfo(readTextFile(QStringLiteral("/proc/meminfo"))))
        return *parsed;
    MemoryStatus m;
    struct sysinfo info {};
    if (sysinfo(&info) != 0 || info.totalram == 0)
        return m;
    const std::uint64_t unit = info.mem_unit;
    m.totalPhys = info.totalram * unit;
    m.availPhys = (info.freeram + info.bufferram) * unit;
    m.totalVirt = m.totalPhys + info.totalswap * unit;
    m.availVirt = m.availPhys + info.freeswap * unit;
    m.loadPercent = static_cast<int>((m.totalPhys - m.availPhys) * 100 / m.totalPhys);
    return m;
}

HeapFigures LinuxSystemProbe::heap() const
{
    const struct mallinfo2 info = mallinfo2();
    const std::uint64_t space = info.arena + info.hblkhd;
    const std::uint64_t used = info.uordblks + info.hblkhd;
    const std::uint64_t releasable = std::min<std::uint64_t>(info.keepcost, info.fordblks);
    const std::uint64_t accounted = info.uordblks + info.fordblks;
    return {space,
            releasable,
            space - releasable,
            used,
            info.fordblks,
            info.fsmblks,
            info.fordblks - std::min(info.fsmblks, info.fordblks),
            info.fordblks - releasable,
            info.arena > accounted ? info.arena - accounted : 0,
            0,
            info.hblks,
            used};
}

int LinuxSystemProbe::deviceCount(DeviceKind kind) const
{
    if (isWave(kind))
        return static_cast<int>(listPcm(pcmStream(kind)).size());
    return static_cast<int>(listSeqPorts(kind == DeviceKind::MidiOut).size());
}

std::optional<DeviceCaps> LinuxSystemProbe::deviceCaps(DeviceKind kind, int device) const
{
    DeviceCaps caps;
    caps.driverVersion = alsaVersion();
    if (isWave(kind)) {
        const auto devices = listPcm(pcmStream(kind));
        if (device < kMapperDevice || device >= static_cast<int>(devices.size()))
            return std::nullopt;
        QByteArray pcmName = "default";
        if (device == kMapperDevice) {
            caps.productId = kWaveMapperProduct;
            caps.name = QStringLiteral("default");
        } else {
            const PcmEntry& entry = devices[static_cast<std::size_t>(device)];
            caps.name = entry.name;
            pcmName = QStringLiteral("hw:%1,%2").arg(entry.card).arg(entry.device).toLatin1();
        }
        probePcm(pcmName, pcmStream(kind), caps);
        return caps;
    }
    const auto ports = listSeqPorts(kind == DeviceKind::MidiOut);
    if (device < kMapperDevice || device >= static_cast<int>(ports.size()))
        return std::nullopt;
    if (device == kMapperDevice) {
        caps.productId = kMidiMapperProduct;
        caps.name = QStringLiteral("default");
        caps.technology = kMidiMapperTechnology;
        caps.channelMask = 0xFFFF;
        return caps;
    }
    const SeqEntry& port = ports[static_cast<std::size_t>(device)];
    caps.name = port.name;
    constexpr unsigned kSynthTypes = SND_SEQ_PORT_TYPE_SYNTH | SND_SEQ_PORT_TYPE_SYNTHESIZER
                                     | SND_SEQ_PORT_TYPE_DIRECT_SAMPLE | SND_SEQ_PORT_TYPE_SAMPLE;
    caps.technology = (port.type & kSynthTypes) != 0 ? 2 : 1;
    caps.voices = port.synthVoices;
    caps.notes = port.midiVoices;
    const int channels = std::clamp(port.midiChannels, 0, 16);
    caps.channelMask = channels == 0 ? 0xFFFFu : (1u << channels) - 1;
    return caps;
}

int FakeSystemProbe::deviceCount(DeviceKind kind) const
{
    const auto it = devices.find(kind);
    return it == devices.end() || it->second.empty() ? 0 : static_cast<int>(it->second.size()) - 1;
}

std::optional<DeviceCaps> FakeSystemProbe::deviceCaps(DeviceKind kind, int device) const
{
    capsQueries.emplace_back(kind, device);
    const auto it = devices.find(kind);
    if (it == devices.end() || device < kMapperDevice || device + 1 >= static_cast<int>(it->second.size()))
        return std::nullopt;
    return it->second[static_cast<std::size_t>(device + 1)];
}

} // namespace lumavo

#pragma once

#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/wave_player.h"
#include "playback/page_player.h"
#include "playback/stage_surface.h"

#include <QStringList>
#include <functional>
#include <vector>

namespace lumavo::test {

// A stage that keeps its back buffer in memory, records every present with its time, and runs a
// test's script whenever playback lets messages run.
class TestStage : public StageSurface {
public:
    struct Presented {
        Rect region;
        Clock::Nanoseconds at;
    };

    TestStage(Clock& clock, Point size = {640, 480}, int depth = 32)
        : back(size.x, size.y, PixelFormat::Bits32), clock_(clock), size_(size), depth_(depth)
    {
        back.canvas().brush.color = kBlack;
        back.canvas().fillRect({0, 0, size.x, size.y});
    }

    Bitmap back;
    std::vector<Presented> presents;
    QStringList* log = nullptr;          // shared event log, when set
    std::function<void()> onPump;        // runs inside every message run
    std::function<void()> onWait;        // runs while playback waits for messages
    int pumps = 0;
    int waits = 0;
    std::function<bool()> shownOnScreen; // when set, whether the window has reached the screen
    int maxWaits = 1000;                 // a script that never releases a wait fails, not hangs
    bool enabled = false;
    bool shown = false;
    int closes = 0;
    Clock::Nanoseconds frame = std::chrono::microseconds(16667);

    Bitmap& backBuffer() override { return back; }
    void present(const Rect& region) override { presents.push_back({region, clock_.now()}); }
    Clock::Nanoseconds framePeriod() const override { return frame; }
    Point screenSize() const override { return size_; }
    int screenDepth() const override { return depth_; }
    ComposeFormats composeFormats() const override
    {
        return depth_ >= 32 ? ComposeFormats{PixelFormat::Bits32, PixelFormat::Bits32}
                            : ComposeFormats{PixelFormat::Bits24, PixelFormat::Bits24};
    }
    void pumpMessages() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    void waitForMessages() override
    {
        add(QStringLiteral("wait"));
        if (++waits > maxWaits)
            throw std::runtime_error("a message wait was never released");
        if (onWait)
            onWait();
    }
    void showForPlayback() override
    {
        shown = true;
        add(QStringLiteral("show"));
    }
    void enableStage() override { enabled = true; }
    void closeStage() override
    {
        enabled = false;
        shown = false;
        ++closes;
        add(QStringLiteral("close"));
    }
    bool isEnabledStage() const override { return enabled; }
    bool isShownOnScreen() const override { return !shownOnScreen || shownOnScreen(); }

    // The smallest time between two presents; a huge value with fewer than two.
    Clock::Nanoseconds minPresentGap() const
    {
        Clock::Nanoseconds gap = Clock::Nanoseconds::max();
        for (std::size_t i = 1; i < presents.size(); ++i)
            gap = std::min(gap, presents[i].at - presents[i - 1].at);
        return gap;
    }

private:
    void add(const QString& event)
    {
        if (log)
            *log << event;
    }

    Clock& clock_;
    Point size_;
    int depth_;
};

// A wave player that logs what it is asked and refuses the files it is told to.
class RecordingWavePlayer : public WavePlayer {
public:
    explicit RecordingWavePlayer(QStringList& log) : log_(log) {}
    QStringList refused;

    bool open(const QString& path, QString* error) override
    {
        log_ << "open " + path;
        if (refused.contains(path)) {
            if (error)
                *error = QStringLiteral("refused");
            return false;
        }
        return true;
    }
    void play() override { log_ << QStringLiteral("play"); }
    void close() override { log_ << QStringLiteral("close wave"); }

private:
    QStringList& log_;
};

// A composer that gives line n a solid title of the given size in a colour of its own, placed at
// the rest position, and logs the call.
struct FakeComposer {
    QStringList* log = nullptr;
    Point size{40, 20};
    std::function<void(int n)> during;   // runs inside the compose step

    static Color colorOf(int n) { return n == 1 ? rgb(255, 0, 0) : n == 2 ? rgb(0, 255, 0) : rgb(0, 0, 255); }

    ComposedTitle operator()(const TitleLine& line, int n, Point rest, const ComposeFormats& formats, bool,
                             const QString&, Point) const
    {
        if (log)
            *log << QStringLiteral("compose %1").arg(n);
        if (during)
            during(n);
        ComposedTitle t;
        if (!line.bitmapFile.isEmpty() && line.bitmapFile.startsWith("missing")) {
            t.ok = false;
            t.errorMessage = "Error opening file: " + line.bitmapFile;
            t.position = {9999, 9999};
            return t;
        }
        t.bitmap = Bitmap(size.x, size.y, formats.title);
        t.bitmap.canvas().brush.color = colorOf(n);
        t.bitmap.canvas().fillRect({0, 0, size.x, size.y});
        t.bitmap.canvas().brush.color = kBlack;
        t.position = rest;
        return t;
    }
};

} // namespace lumavo::test

#pragma once

#include <chrono>
#include <cstdint>

namespace lumavo {

// Time for everything that waits. The real clock sleeps; a test clock moves on in no wall time.
class Clock {
public:
    using Nanoseconds = std::chrono::nanoseconds;
    virtual ~Clock() = default;

    // Monotonic time since an arbitrary start.
    virtual Nanoseconds now() const = 0;
    // Milliseconds since an arbitrary start, as a tick count.
    std::int64_t tickMs() const { return std::chrono::duration_cast<std::chrono::milliseconds>(now()).count(); }
    // Returns at or after `deadline` (at once when it has passed). Sleeps, never spins.
    virtual void sleepUntil(Nanoseconds deadline) = 0;
    void sleepFor(Nanoseconds duration) { sleepUntil(now() + duration); }
};

// The steady clock of the machine.
class SteadyClock final : public Clock {
public:
    Nanoseconds now() const override;
    void sleepUntil(Nanoseconds deadline) override;
};

// A clock for tests: time moves only when something sleeps or advance() is called.
class FakeClock final : public Clock {
public:
    Nanoseconds now() const override { return now_; }
    void sleepUntil(Nanoseconds deadline) override
    {
        if (deadline > now_)
            now_ = deadline;
    }
    void advance(Nanoseconds by) { now_ += by; }

private:
    Nanoseconds now_{0};
};

} // namespace lumavo

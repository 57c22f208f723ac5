#include "platform/clock.h"

#include <thread>

namespace lumavo {

Clock::Nanoseconds SteadyClock::now() const
{
    return std::chrono::duration_cast<Nanoseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::sleepUntil(Nanoseconds deadline)
{
    // An absolute deadline: callers that chain waits from one start time do not accumulate the
    // scheduler's overshoot.
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline)));
}

} // namespace lumavo

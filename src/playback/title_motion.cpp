#include "playback/title_motion.h"

#include <algorithm>
#include <cstring>

namespace lumavo {

namespace {

constexpr std::int64_t kNsPerUs = 1000;
constexpr std::int64_t kFadeNsPerPass = 10;   // one fade iteration: 10 ns

Rect placed(int x, int y, const MotionInput& in) { return {x, y, x + in.width, y + in.height}; }

MotionStep blit(int x, int y, const MotionInput& in, std::int64_t waitNs)
{
    return {MotionStep::Kind::Blit, placed(x, y, in), 0, waitNs};
}

MotionStep stretch(const Rect& target, std::int64_t waitNs)
{
    return {MotionStep::Kind::Stretch, target, 0, waitNs};
}

void addFade(Motion& motion, const MotionInput& in, bool fadeIn)
{
    const std::int64_t waitNs = fadeFrameWaitNs(in.fadeDelay);
    for (int i = 0; i < kFadeLevels; ++i) {
        const int level = fadeIn ? i : kFadeLevels - 1 - i;
        motion.steps.push_back({MotionStep::Kind::Fade, placed(in.rest.x, in.rest.y, in), level, waitNs});
    }
}

void addPath(Motion& motion, const MotionInput& in, int lastIndexExclusive)
{
    if (in.path == nullptr)
        return;
    const std::int64_t waitNs = stepWaitNs(in.delay);
    for (int i = 0; i < lastIndexExclusive; ++i) {
        const PathPoint& p = in.path->points[static_cast<std::size_t>(i)];
        motion.steps.push_back(blit(p.x, p.y, in, waitNs));
    }
}

// Codes 9..13, which are effects rather than slides. IN unrolls two pixels a step and follows
// the path to point count - 1; OUT unrolls one pixel a step and stops a point earlier.
void addEffectSteps(Motion& motion, const MotionInput& in, bool moveIn)
{
    const int w = in.width, h = in.height, L = in.rest.x, T = in.rest.y;
    const std::int64_t plainNs = stepWaitNs(in.delay);
    const int unrollStep = moveIn ? 2 : 1;
    switch (in.code) {
    case 9:
        for (int r = L; r < L + w; r += unrollStep)
            motion.steps.push_back(stretch({L, T, r, T + h}, plainNs));
        break;
    case 10:
        for (int q = L + w; q > L; q -= unrollStep)
            motion.steps.push_back(stretch({q, T, L + w, T + h}, plainNs));
        break;
    case 11:
        if (in.path != nullptr)
            addPath(motion, in, clampedPathCount(*in.path) - (moveIn ? 0 : 1));
        break;
    case 12:
        addFade(motion, in, moveIn);
        break;
    case 13:
        motion.steps.push_back(blit(L, T, in, plainNs));
        break;
    default:
        break;
    }
}

// Codes 1..8 IN: start point, advance per step, and the axis whose remaining distance the easy
// slow-down measures.
struct LinearIn {
    int x, y, dx, dy;
};

} // namespace

RasterOp rasterOpForEffect(int osEffect)
{
    switch (osEffect) {
    case 1: return RasterOp::NotSrcCopy;
    case 2: return RasterOp::NotSrcErase;
    case 3: return RasterOp::PatPaint;
    case 4: return RasterOp::SrcErase;
    case 5: return RasterOp::SrcInvert;
    case 6: return RasterOp::SrcPaint;
    default: return RasterOp::SrcCopy;
    }
}

std::int64_t stepWaitNs(int delay) { return std::max(delay, 0) * kNsPerUs; }

std::int64_t DMoverDelay(int distance, int delay)
{
    const int d = std::max(distance, 0);
    return static_cast<std::int64_t>(100 / (d + 1)) * stepWaitNs(delay);
}

std::int64_t fadeFrameWaitNs(int fadeDelay)
{
    const std::int64_t f = std::max(fadeDelay, 0);
    return f * f * kFadeNsPerPass;
}

std::int64_t Motion::totalWaitNs() const
{
    std::int64_t total = 0;
    for (const MotionStep& s : steps)
        total += s.waitNs;
    return total;
}

int clampedPathCount(const DrawnPath& path) { return std::clamp(path.count, -1, kMaxPathCount); }

Motion titleMotionIn(const MotionInput& in)
{
    Motion motion;
    const int w = in.width, h = in.height, L = in.rest.x, T = in.rest.y;
    const int W = in.screen.x, H = in.screen.y;
    const std::int64_t plainNs = stepWaitNs(in.delay);
    motion.copyMode = (in.code == 9 || in.code == 10) ? RasterOp::SrcCopy : rasterOpForEffect(in.osEffect);

    if (in.code >= 1 && in.code <= 8) {
        LinearIn m{};
        switch (in.code) {
        case 1: m = {-w, T - L - w, 1, 1}; break;
        case 2: m = {W, T + W - L, -1, -1}; break;
        case 3: m = {-w, T + w + L, 1, -1}; break;
        case 4: m = {W + 1, T + L - W - 1, -1, 1}; break;
        case 5: m = {-w, T, 1, 0}; break;
        case 6: m = {W, T, -1, 0}; break;
        case 7: m = {L, -h, 0, 1}; break;
        default: m = {L, H, 0, -1}; break;
        }
        const bool alongY = in.code >= 7;
        auto running = [&] {
            if (alongY)
                return m.dy > 0 ? m.y < T + 1 : m.y > T - 1;
            return m.dx > 0 ? m.x < L + 1 : m.x > L - 1;
        };
        while (running()) {
            const int distance = alongY ? (m.dy > 0 ? T - m.y : m.y - T) : (m.dx > 0 ? L - m.x : m.x - L);
            const std::int64_t waitNs = in.easySlowdown ? DMoverDelay(distance, in.delay) : plainNs;
            motion.steps.push_back(blit(m.x, m.y, in, waitNs));
            m.x += m.dx;
            m.y += m.dy;
        }
        return motion;
    }
    addEffectSteps(motion, in, true);
    return motion;
}

Motion titleMotionOut(const MotionInput& in)
{
    Motion motion;
    const int w = in.width, h = in.height, L = in.rest.x, T = in.rest.y;
    const int W = in.screen.x, H = in.screen.y;
    const std::int64_t plainNs = stepWaitNs(in.delay);

    if (in.code >= 1 && in.code <= 8) {
        int x = L, y = T, dx = 0, dy = 0;
        switch (in.code) {
        case 1: dx = 1; dy = 1; break;
        case 2: dx = -1; dy = -1; break;
        case 3: dx = 1; dy = -1; break;
        case 4: dx = -1; dy = 1; break;
        case 5: dx = 1; break;
        case 6: dx = -1; break;
        case 7: dy = 1; break;
        default: dy = -1; break;
        }
        auto running = [&] {
            switch (in.code) {
            case 1: case 3: return x < W + 1;
            case 2: case 4: case 6: return x > -w;
            case 5: return x < W;
            case 7: return y < H;
            default: return y > -h;
            }
        };
        while (running()) {
            motion.steps.push_back(blit(x, y, in, plainNs));
            x += dx;
            y += dy;
        }
        return motion;
    }
    addEffectSteps(motion, in, false);
    return motion;
}

FadeForm fadeFormForDepth(int screenDepth) { return screenDepth >= 32 ? FadeForm::Bits32 : FadeForm::Bits24; }

FadeFrames::FadeFrames(Bitmap& title, FadeForm form, bool fadeIn) : title_(title), form_(form)
{
    // The kernel reads 3- or 4-byte pixels; a title in a palette or 16-bit format is raised first
    // (the 24-bit form to 24 bits, the 32-bit form to 32 bits).
    if (title.bitsPerPixel() < 24)
        title.setPixelFormat(form == FadeForm::Bits24 ? PixelFormat::Bits24 : PixelFormat::Bits32);
    work_ = Bitmap(title.width(), title.height(), title.pixelFormat());
    work_.setAlpha(title.hasAlpha());
    work_.canvas().brush.color = fadeIn ? kBlack : title.canvas().brush.color;
    work_.canvas().brush.style = BrushStyle::Solid;
    work_.canvas().fillRect({0, 0, work_.width(), work_.height()});
}

const Bitmap& FadeFrames::frame(int level)
{
    if (title_.hasAlpha()) {
        // Colour and alpha scale together, so the title keeps its look as it fades.
        const unsigned lv = static_cast<unsigned>(std::clamp(level, 0, kFadeLevels - 1));
        for (int y = 0; y < title_.height(); ++y) {
            const std::uint8_t* src = title_.scanLine(y);
            std::uint8_t* dst = work_.scanLine(y);
            for (int i = 0; i < 4 * title_.width(); ++i)
                dst[i] = static_cast<std::uint8_t>((src[i] * lv) >> kFadeShift);
        }
        return work_;
    }
    const int bytesPerPixel = title_.bitsPerPixel() / 8;
    const bool clearFourth = form_ == FadeForm::Bits32 && bytesPerPixel == 4;
    const unsigned lv = static_cast<unsigned>(std::clamp(level, 0, kFadeLevels - 1));
    for (int y = 0; y < title_.height(); ++y) {
        const std::uint8_t* src = title_.scanLine(y);
        std::uint8_t* dst = work_.scanLine(y);
        for (int x = 0; x < title_.width(); ++x, src += bytesPerPixel, dst += bytesPerPixel) {
            if ((src[0] | src[1] | src[2]) == 0)
                continue;
            dst[0] = static_cast<std::uint8_t>((src[0] * lv) >> kFadeShift);
            dst[1] = static_cast<std::uint8_t>((src[1] * lv) >> kFadeShift);
            dst[2] = static_cast<std::uint8_t>((src[2] * lv) >> kFadeShift);
            if (clearFourth)
                dst[3] = 0;
        }
    }
    return work_;
}

} // namespace lumavo

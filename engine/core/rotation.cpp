#include "engine/core/rotation.h"

#include "engine/core/driverframe.h"
#include "engine/core/samplers.h"
#include "engine/core/settings.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

std::atomic<bool> s_failAllocation{false};

// What the row workers of one rotation read.
struct RotateArgs {
    int width = 0;
    int height = 0;
    const uint16_t* src = nullptr;
    uint16_t* out = nullptr; // the private block
    float theta0 = 0.0f;     // rotation in radians
    float k = 0.0f;          // twist in radians per pixel of (scaled) distance
    float h = 0.0f;          // distance scale, (1 / (1 + z)) * 0.9995
    float cx = 0.0f;         // centre in pixels
    float cy = 0.0f;
};

// Sine-table index of an angle in radians: the integer part of
// angle * 65536 / 2pi, kept to its low 16 bits. Beyond the int range the
// float is a whole number, and fmod by 65536 keeps its low 16 bits; NaN and
// infinity (a zoom of -1) index 0.
inline int angleIndex(float angle)
{
    float v = angle * 10430.378f;
    if (!(std::fabs(v) < 2147483648.0f))
        v = std::isfinite(v) ? std::fmod(v, 65536.0f) : 0.0f;
    return static_cast<int>(v) & 0xFFFF;
}

// The source point of destination pixel (x, y).
inline void sourcePoint(const RotateArgs& a, int x, int y, float* sx, float* sy)
{
    const float dx = static_cast<float>(x) - a.cx;
    const float dy = static_cast<float>(y) - a.cy;
    const float phi = std::atan2(dy, dx);
    const float r = std::sqrt(dx * dx + dy * dy) * a.h;
    const int i = angleIndex(a.k * r + (phi + a.theta0));
    *sx = a.cx - MP_temp_table[i] * r;
    *sy = MP_temp_table[(i + 16384) & 0xFFFF] * r + a.cy;
}

inline void store(uint16_t* px, MP_float3 c)
{
    px[0] = static_cast<uint16_t>(static_cast<int>(65535.0f * c.x));
    px[1] = static_cast<uint16_t>(static_cast<int>(65535.0f * c.y));
    px[2] = static_cast<uint16_t>(static_cast<int>(65535.0f * c.z));
}

struct FreeDeleter {
    void operator()(uint16_t* p) const { std::free(p); }
};

} // namespace

void MP_TaskPre1_RotateBuffer(TaskFuncParams p)
{
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i)
        MP_temp_table[i] = MP_sin(((static_cast<float>(i) * 1.5259022e-05f) * 2.0f) * 3.1415927f);
}

void MP_Task_RotateBuffer(TaskFuncParams p)
{
    const RotateArgs& a = *MP_taskArgs<const RotateArgs>(p);
    const float fw = static_cast<float>(a.width);
    const float fh = static_cast<float>(a.height);
    for (int y = MP_taskStart(p); y < MP_taskEnd(p); ++y) {
        uint16_t* d = a.out + static_cast<size_t>(y) * static_cast<size_t>(a.width) * 3;
        for (int x = 0; x < a.width; ++x, d += 3) {
            float sx, sy;
            sourcePoint(a, x, y, &sx, &sy);
            if (sx >= 0.0f && sx < fw && sy >= 0.0f && sy < fh) {
                store(d, MP_tex2D16intBilinear(a.width, a.height, a.src, sx, sy));
            } else {
                d[0] = d[1] = d[2] = 0;
            }
        }
    }
}

void MP_Task_RotateBufferSeemless(TaskFuncParams p)
{
    const RotateArgs& a = *MP_taskArgs<const RotateArgs>(p);
    for (int y = MP_taskStart(p); y < MP_taskEnd(p); ++y) {
        uint16_t* d = a.out + static_cast<size_t>(y) * static_cast<size_t>(a.width) * 3;
        for (int x = 0; x < a.width; ++x, d += 3) {
            float sx, sy;
            sourcePoint(a, x, y, &sx, &sy);
            store(d, MP_tex2D16intBilinearSeemless(a.width, a.height, a.src, sx, sy));
        }
    }
}

int MP_UI_RotateBuffer(int width, int height, const uint16_t* src, uint16_t* dst, int seamless, float a, float t,
                       float z, float u, float v)
{
    if (!src || !dst || width < 0 || height < 0)
        return -2;
    if (width == 0 || height == 0)
        return 0;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 6;
    std::unique_ptr<uint16_t, FreeDeleter> block(
        s_failAllocation.load() ? nullptr : static_cast<uint16_t*>(std::malloc(bytes)));
    if (!block)
        return -1;

    RotateArgs args;
    args.width = width;
    args.height = height;
    args.src = src;
    args.out = block.get();
    args.theta0 = ((a - 0.75f) * 2.0f) * 3.1415927f;
    args.k = ((1.0f - t) - 0.5f) * 0.01f;
    const float s = 1.0f + z;
    args.h = (1.0f / s) * 0.9995f;
    args.cx = static_cast<float>(width) * u;
    args.cy = static_cast<float>(height) * v;

    const TaskFuncParams tmpl = MP_makeTask(nullptr, &args);
    MP_runTablePass(MP_TaskPre1_RotateBuffer, tmpl, 65536);
    MP_runBandPass(seamless ? MP_Task_RotateBufferSeemless : MP_Task_RotateBuffer, tmpl, height, 0);

    // A cancel request drops queued tasks, so the block may hold rows that
    // were never written: then dst stays as it was.
    if (MP_isCalculatingCancelRequest != 0)
        return 0;
    std::memcpy(dst, block.get(), bytes);
    return 0;
}

void MP_rotationTestFailAllocation(bool fail) { s_failAllocation.store(fail); }

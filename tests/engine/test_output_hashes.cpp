// Every registered kernel, run through the dispatcher on a small picture at
// thread counts 1, 3 and 8, in place and into a second buffer. The output
// must not depend on the thread count, and must keep the hashes recorded in
// output_hashes.inc: a speed-up that changes a single output bit fails here.
//
// A kernel without a recorded hash (a family added later) is only checked
// across thread counts. A recorded in-place hash of 0 marks a kernel that
// reads the neighbours of the pixels it writes and is never run in place: it
// runs (and is checked) only into a second buffer. To print the table for the current code:
//     LUMIVEX_PRINT_OUTPUT_HASHES=1 engine_tests --gtest_filter='OutputHashes.*'

#include "enginefixture.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

struct RecordedHash {
    const char* kernel;
    uint64_t inPlace;
    uint64_t intoSecond;
};

const RecordedHash kRecorded[] = {
#include "output_hashes.inc"
};

constexpr int kW = 192;
constexpr int kH = 128;
constexpr int kThreadCounts[] = {1, 3, 8};

uint64_t fnv1a(const void* data, size_t bytes, uint64_t h = 1469598103934665603ull)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; ++i) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
    return h;
}

// A varied picture: smooth gradients, a hard edge, fine texture and a few
// clipped and black pixels, so window, colour and tone kernels all see work.
std::vector<uint16_t> hashPicture()
{
    std::vector<uint16_t> img(static_cast<size_t>(kW) * kH * 3);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            uint16_t* px = &img[(static_cast<size_t>(y) * kW + x) * 3];
            const int edge = x > kW / 2 ? 18000 : 0;
            px[0] = static_cast<uint16_t>(std::min(65535, 300 * x + edge + (x * 7919 + y * 3001) % 4096));
            px[1] = static_cast<uint16_t>(std::min(65535, 500 * y + (x * 1237 + y * 9973) % 8192));
            px[2] = static_cast<uint16_t>((x * x * 331 + y * 5003 + 40000) % 65536);
            if ((x + y) % 97 == 0)
                px[0] = px[1] = px[2] = 65535;
            if ((x * 3 + y) % 89 == 0)
                px[0] = px[1] = px[2] = 0;
        }
    return img;
}

// One parameter block for every kernel: each slider at its middle, the
// second value of every slot at 100 (the full opacity of a blend slot), a
// colour in values 2..4, a linear curve in the kernel's curve slot and no
// geometry.
MP_Params hashParams(const char* name)
{
    MP_Params p{};
    MP_UI_GetLuminanzConvRGB(&p.lumr, &p.lumg, &p.lumb);
    p.loopstep = 1;
    p.previewscalingfactor = 1.0f;
    p.kernel_exponent = 2.0f;
    p.unit_kernel_multiplier = 1.0f;
    for (int k = 0; k < MP_MAX_PARAMETER; ++k) {
        for (int j = 0; j < 16; ++j)
            p.p[k][j] = 0.5f;
        p.p[k][1] = 100.0f;
        p.p[k][2] = 0.6f;
        p.p[k][3] = 0.4f;
        p.p[k][4] = 0.3f;
    }
    const int spline = MP_UI_getKernelSplineIndex(name);
    if (spline >= 0)
        for (int i = 0; i < 6; ++i) {
            p.p[spline][2 * i] = 0.2f * static_cast<float>(i);
            p.p[spline][2 * i + 1] = 0.2f * static_cast<float>(i) * (1.2f - 0.2f * static_cast<float>(i));
        }
    const int geometry = MP_UI_getKernelGeometryIndex(name);
    if (geometry >= 0)
        for (float& v : p.p[geometry])
            v = 0.0f;
    return p;
}

struct RunHashes {
    uint64_t inPlace;
    uint64_t intoSecond;
};

// Hashes of the run in place (0 when inPlace is false) and of the run into a
// second buffer.
RunHashes runAt(const char* name, int threads, bool inPlace)
{
    RunHashes out{};
    for (int mode = inPlace ? 0 : 1; mode < 2; ++mode) {
        EngineTest::resetEngineState(threads);
        std::vector<uint16_t> src = hashPicture();
        std::vector<uint16_t> second(src.size(), 0x1234);
        std::vector<uint16_t>& dst = mode == 0 ? src : second;
        MP_Params p = hashParams(name);
        const int rc = OpenCLManager::getInstance()->executeKernel(
            name, kW, kH, reinterpret_cast<float*>(src.data()), reinterpret_cast<float*>(dst.data()), 6, 6, &p, -1,
            0.0f, 1.0f, false, false);
        uint64_t h = fnv1a(&rc, sizeof rc);
        h = fnv1a(dst.data(), dst.size() * sizeof(uint16_t), h);
        if (mode == 1)
            h = fnv1a(src.data(), src.size() * sizeof(uint16_t), h); // the source stays as it was
        (mode == 0 ? out.inPlace : out.intoSecond) = h;
    }
    return out;
}

class OutputHashes : public EngineTest {};

TEST_F(OutputHashes, EveryKernelKeepsItsBitsAtEveryThreadCount)
{
    std::map<std::string, RunHashes> recorded;
    for (const RecordedHash& r : kRecorded)
        recorded[r.kernel] = {r.inPlace, r.intoSecond};
    const bool print = std::getenv("LUMIVEX_PRINT_OUTPUT_HASHES") != nullptr;

    int checkedAgainstRecord = 0;
    for (int i = 0; i < MP_kernelCount(); ++i) {
        const char* name = MP_kernelNameAt(i);
        SCOPED_TRACE(name);
        const auto it = recorded.find(name);
        const bool inPlaceChecked = it == recorded.end() || it->second.inPlace != 0;
        const RunHashes first = runAt(name, kThreadCounts[0], inPlaceChecked);
        for (size_t t = 1; t < std::size(kThreadCounts); ++t) {
            const RunHashes other = runAt(name, kThreadCounts[t], inPlaceChecked);
            if (inPlaceChecked) {
                EXPECT_EQ(other.inPlace, first.inPlace) << "in place, " << kThreadCounts[t] << " threads";
            }
            EXPECT_EQ(other.intoSecond, first.intoSecond) << "second buffer, " << kThreadCounts[t] << " threads";
        }
        if (print)
            std::printf("    {\"%s\", 0x%016llxull, 0x%016llxull},\n", name,
                        static_cast<unsigned long long>(first.inPlace),
                        static_cast<unsigned long long>(first.intoSecond));
        if (it == recorded.end())
            continue;
        ++checkedAgainstRecord;
        if (inPlaceChecked) {
            EXPECT_EQ(first.inPlace, it->second.inPlace) << "in place differs from the recorded output";
        }
        EXPECT_EQ(first.intoSecond, it->second.intoSecond) << "second buffer differs from the recorded output";
    }
    // Every recorded kernel is still registered (a renamed kernel would
    // silently lose its check).
    EXPECT_EQ(checkedAgainstRecord, static_cast<int>(recorded.size()));
}

} // namespace

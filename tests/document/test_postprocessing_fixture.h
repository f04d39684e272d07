#pragma once
// Shared pieces of the post-processing chain tests: an executor that records
// every kernel run and can answer a chosen result at a chosen call, a fake
// film-settings source, and helpers that build operators and images.

#include "document/documentfakes.h"
#include "document/exposure.h"
#include "document/kernelrunner.h"
#include "document/postprocessing.h"
#include "engine/MP_calc.h"
#include "engine/openclmanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// Records the runs (with a copy of the block); call `failAt` (0-based) answers
// `failResult`; with passThrough the other runs go to the dispatcher.
class CChainRecorder : public IKernelExecutor {
public:
    struct SRun {
        std::string name;
        unsigned width, height;
        int category;
        float start, range;
        bool before, after;
        MP_Params params;
    };
    explicit CChainRecorder(bool passThrough = false)
        : m_bPassThrough(passThrough), m_pPrevious(CKernelRunner::SetExecutor(this))
    {
    }
    ~CChainRecorder() override { CKernelRunner::SetExecutor(m_pPrevious); }

    int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                      unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                      bool uploadSource, bool downloadResult) override
    {
        SRun run{name, width, height, category, progressStart, progressDelta, uploadSource, downloadResult, {}};
        std::memcpy(&run.params, params, sizeof(MP_Params));
        runs.push_back(run);
        if (static_cast<int>(runs.size()) - 1 == failAt)
            return failResult;
        if (m_bPassThrough)
            return OpenCLManager::getInstance()->executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params,
                                                               category, progressStart, progressDelta,
                                                               uploadSource, downloadResult);
        return 0;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const SRun& run : runs)
            names.push_back(run.name);
        return names;
    }

    std::vector<SRun> runs;
    int failAt = -1;
    int failResult = 0;

private:
    bool m_bPassThrough;
    IKernelExecutor* m_pPrevious;
};

class CFakeFilmSettings : public IFilmSettings {
public:
    CFakeFilmSettings() : m_pPrevious(CPostProcessing::FilmSettings()) { CPostProcessing::SetFilmSettings(this); }
    ~CFakeFilmSettings() override { CPostProcessing::SetFilmSettings(m_pPrevious); }
    int FilmTypeIndex() const override { return index; }
    float FilmTypeIntensity() const override { return intensity; }
    float FilmTypeGraining() const override { return graining; }
    bool FilmTypeRow(int row, float values[PP_FILMTYPE_VALUES]) const override
    {
        if (row < 0 || row >= static_cast<int>(rows.size()))
            return false;
        std::memcpy(values, rows[row].data(), sizeof(float) * PP_FILMTYPE_VALUES);
        return true;
    }

    int index = 0;
    float intensity = 1.0f;
    float graining = 0.0f;
    std::vector<std::vector<float>> rows;

private:
    IFilmSettings* m_pPrevious;
};

// The neutral film row: no pass at any intensity.
inline std::vector<float> NeutralFilmRow()
{
    std::vector<float> row(PP_FILMTYPE_VALUES, 0.5f);
    row[0] = 0.0f;  // gradation
    row[3] = 0.0f;  // denoisesharp
    row[5] = 0.36f; // temperature
    row[6] = 0.2f;  // grainstrength
    row[7] = 0.1f;  // grainsize
    row[16] = 0.0f; // infrared
    return row;
}

inline SParameter Slider(float value)
{
    SParameter p;
    p.eType = ePTSlider;
    p.pfValues[0] = value;
    return p;
}

inline SParameter Blend(float mode, float opacity)
{
    SParameter p;
    p.eType = ePTBlend;
    p.pfValues[0] = mode;
    p.pfValues[1] = opacity;
    return p;
}

inline SParameter Spline(const float (&knots)[12], int type = ePTSpline)
{
    SParameter p;
    p.eType = type;
    std::memcpy(p.pfValues, knots, sizeof(knots));
    return p;
}

inline SParameter Geometry(int records = 0, float type = 1.0f)
{
    SParameter p;
    p.eType = ePTGeometry;
    for (int r = 0; r < records; ++r) {
        p.pfValues[8 * r] = type;
        p.pfValues[8 * r + 1] = 0.25f;
        p.pfValues[8 * r + 2] = 0.25f;
        p.pfValues[8 * r + 5] = 1.0f;
        p.pfValues[8 * r + 6] = 0.5f;
        p.pfValues[8 * r + 7] = 0.5f;
    }
    return p;
}

inline SOperator MakeOp(const char* kernel, std::initializer_list<SParameter> parameters)
{
    SOperator op;
    op.kernel = QString::fromLatin1(kernel);
    op.id = PP_OperatorId(op.kernel);
    op.name = op.kernel;
    for (const SParameter& p : parameters)
        op.parameters.append(p);
    return op;
}

// Runs one kernel straight through the dispatcher, in place on image.
inline int RunDirect(const char* kernel, MP_Params* P, std::vector<unsigned short>& image, int w, int h)
{
    float* buffer = reinterpret_cast<float*>(image.data());
    return OpenCLManager::getInstance()->executeKernel(kernel, w, h, buffer, buffer, 6, 6, P, -1, 0, 0, true, true);
}

// A deterministic 16-bit RGB image with gradients and noise-like detail.
inline std::vector<unsigned short> TestImage(int w, int h, unsigned seed = 1)
{
    std::vector<unsigned short> image(static_cast<size_t>(w) * h * 3);
    unsigned s = seed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            s = s * 1103515245u + 12345u;
            const size_t i = (static_cast<size_t>(y) * w + x) * 3;
            image[i] = static_cast<unsigned short>((x * 65535) / std::max(1, w - 1));
            image[i + 1] = static_cast<unsigned short>((y * 65535) / std::max(1, h - 1));
            image[i + 2] = static_cast<unsigned short>((s >> 8) & 0xFFFF);
        }
    return image;
}

// A file of the source tree, found from the test program's folder upwards
// (the build folder lies inside the source tree).
inline QString FindSourceFile(const QString& relative)
{
    QDir dir(QCoreApplication::applicationDirPath());
    for (int up = 0; up < 6; ++up) {
        if (QFileInfo::exists(dir.filePath(relative)))
            return dir.filePath(relative);
        if (!dir.cdUp())
            break;
    }
    return relative;
}

// Resets the engine settings and the class-wide buffers around each test.
class PostProcessingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MP_ResetSettingsToInitial();
        MP_UI_SetIdealThreadCount(4);
        MP_UI_SetTM3dIterations(0);
        MP_UI_SetFilmTypeAfterPPMode(1);
        CPostProcessing::DeleteBuffer();
        CPostProcessing::_s_Size = QSize(-1, -1);
        CPostProcessing::_s_PreviewSize = QSize(-1, -1);
    }
    void TearDown() override { CPostProcessing::DeleteBuffer(); }
    // Fills the full-size (or preview) buffer with a test image of w x h.
    void Fill(int w, int h, bool preview = false)
    {
        image = TestImage(w, h);
        ASSERT_TRUE(CPostProcessing::InitBuffer(image.data(), QSize(w, h), QSize(w, h), preview));
    }
    std::vector<unsigned short> image;
};

#pragma once
// Document tests start from the engine's state after start-up (the settings
// MP_UI_Init stores) with fakes for settings, progress and (on request)
// kernels, and make their images with FreeImage in memory.

#include "document/documentfakes.h"
#include "document/exposure.h"
#include "engine/MP_calc.h"
#include "engine/enginefixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <FreeImage.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <memory>
#include <vector>

// A whole file's bytes (empty when it does not read) and a file written
// whole (false on any failure): for tests that damage or cut files.
inline QByteArray readFile(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeFile(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The memory a step takes at its peak: the process's peak resident size is
// reset on construction (where the kernel allows it) and compared with the
// resident size of that moment.
class CPeakMemory {
public:
    CPeakMemory()
    {
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        m_baseline = std::max(Read("VmRSS:"), Read("VmHWM:"));
    }
    // Megabytes by which the peak rose since construction.
    long long GrowthMB() const { return (Read("VmHWM:") - m_baseline) / 1024; }

private:
    static long long Read(const char* key)
    {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(key, 0) == 0)
                return std::atoll(line.c_str() + std::strlen(key));
        return 0;
    }
    long long m_baseline = 0;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EngineTest::resetEngineState(4);
        MP_ApplySettingStartValues(4);
        MP_UI_SetShowExexcuteKernelOutput(0);
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { EngineTest::resetEngineState(4); }

    QString path(const QString& name) const { return dir.filePath(name); }

    // A standard bitmap of bpp bits (24 or 32) filled by fn(x, y) -> 0xRRGGBB,
    // y counted from the top.
    static FIBITMAP* rgb8(int w, int h, const std::function<unsigned(int, int)>& fn, int bpp = 24)
    {
        FIBITMAP* b = FreeImage_Allocate(w, h, bpp);
        for (int y = 0; y < h; ++y) {
            BYTE* line = FreeImage_GetScanLine(b, h - 1 - y);
            for (int x = 0; x < w; ++x) {
                const unsigned c = fn(x, y);
                BYTE* px = line + x * (bpp / 8);
                px[FI_RGBA_RED] = BYTE(c >> 16);
                px[FI_RGBA_GREEN] = BYTE(c >> 8);
                px[FI_RGBA_BLUE] = BYTE(c);
                if (bpp == 32)
                    px[FI_RGBA_ALPHA] = 255;
            }
        }
        return b;
    }

    // A one-sample bitmap of type T (FIT_FLOAT, FIT_INT16, ...) filled by fn.
    template <typename T>
    static FIBITMAP* typed(FREE_IMAGE_TYPE type, int w, int h, const std::function<T(int, int)>& fn)
    {
        FIBITMAP* b = FreeImage_AllocateT(type, w, h);
        for (int y = 0; y < h; ++y) {
            T* line = reinterpret_cast<T*>(FreeImage_GetScanLine(b, h - 1 - y));
            for (int x = 0; x < w; ++x)
                line[x] = fn(x, y);
        }
        return b;
    }

    // Saves a bitmap (and releases it); true when written.
    static bool save(FIBITMAP* b, FREE_IMAGE_FORMAT fif, const QString& file, int flags = 0)
    {
        const bool ok = FreeImage_Save(fif, b, QFile::encodeName(file).constData(), flags);
        FreeImage_Unload(b);
        return ok;
    }

    // A loaded exposure of a bitmap (the exposure takes the bitmap over).
    static std::unique_ptr<CExposure> exposureOf(FIBITMAP* b, const QString& name = "x.tif",
                                                 float previewLuminance = -1.0f)
    {
        auto e = std::make_unique<CExposure>();
        if (!e->Load(name, b) || !e->Prepare(b, previewLuminance))
            return nullptr;
        return e;
    }

    static const unsigned short* px(const CExposure& e, unsigned x, unsigned y)
    {
        return e.m_pusBuffer + (size_t(y) * e.m_uiWidth + x) * 3;
    }

    QTemporaryDir dir;
    CFakeDocumentSettings settings;
    CProgressRecorder progress;
};

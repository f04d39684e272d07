// The engine guard and the kernel runner.

#include "document/documentfakes.h"
#include "document/kernelrunner.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

TEST(EngineGuard, NestedPassesOtherThreadWaits)
{
    std::atomic<bool> otherInside{false};
    std::thread other;
    {
        CEngineGuard outer;
        {
            CEngineGuard nested; // same thread: passes
            EXPECT_TRUE(CEngineGuard::IsHeldByCurrentThread());
        }
        EXPECT_TRUE(CEngineGuard::IsBusy());
        other = std::thread([&] {
            CEngineGuard g;
            otherInside = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(otherInside.load());
        // A kernel run inside the operation passes too.
        CKernelRecorder recorder;
        unsigned short px[6] = {};
        CKernelRunner::RunRGB16("MP_calcPixelNothing", 1, 1, px, nullptr);
        EXPECT_EQ(recorder.Names().size(), 1u);
    }
    other.join();
    EXPECT_TRUE(otherInside.load());
    EXPECT_FALSE(CEngineGuard::IsBusy());
}

TEST(EngineGuard, GuiEntryDuringOperationIsDeferredAndRunsLater)
{
    int ran = 0;
    EXPECT_TRUE(CEngineGuard::RunOrDefer([&] { ++ran; })); // idle: runs now
    EXPECT_EQ(ran, 1);
    {
        CEngineGuard operation;
        // As from a paint during a progress post inside the operation.
        EXPECT_FALSE(CEngineGuard::RunOrDefer([&] {
            EXPECT_TRUE(CEngineGuard::IsHeldByCurrentThread());
            ++ran;
        }));
        QCoreApplication::processEvents();
        EXPECT_EQ(ran, 1); // not while the operation runs
    }
    EXPECT_EQ(ran, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, 2);
    EXPECT_FALSE(CEngineGuard::IsBusy());
}

TEST(KernelRunner, RecorderSeesTheExposuresArguments)
{
    CKernelRecorder recorder;
    unsigned short px[12] = {};
    MP_Params params{};
    params.p[4][0] = 3.0f;
    EXPECT_EQ(CKernelRunner::RunRGB16("MP_calcPixelColorSpaceConversion", 2, 1, px, &params), 0);
    auto runs = recorder.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].name, "MP_calcPixelColorSpaceConversion");
    EXPECT_EQ(runs[0].width, 2u);
    EXPECT_EQ(runs[0].srcBpp, 6u);
    EXPECT_EQ(runs[0].dstBpp, 6u);
    EXPECT_EQ(runs[0].src, runs[0].dst);
    EXPECT_EQ(runs[0].category, -1);
    EXPECT_TRUE(runs[0].upload && runs[0].download);
    EXPECT_EQ(runs[0].params.p[4][0], 3.0f);
}

#include "documentfixture.h"

namespace {

// A progress sink that plays the GUI: on a message posted inside the
// conversion it tries to enter the engine (as a paint would), and starts a
// worker that wants a kernel run.
struct InterferingSink : IProgressSink {
    void OpenCategory(unsigned int, bool) override {}
    void SetTitle(const QString&) override {}
    void AddFraction(unsigned int, float) override {}
    void AddMessage(unsigned int, const QString& text, unsigned int, float) override
    {
        if (!text.endsWith("Weißabgleich wird berechnet") || worker.joinable())
            return;
        ranNow = CEngineGuard::RunOrDefer([this] { deferredRan = true; });
        worker = std::thread([this] {
            unsigned short px[6] = {};
            CKernelRunner::RunRGB16("MP_calcPixelNothing", 1, 1, px, nullptr);
            workerDone = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        workerDoneDuringConversion = workerDone.load();
    }
    bool ranNow = true;
    bool deferredRan = false;
    std::atomic<bool> workerDone{false};
    bool workerDoneDuringConversion = true;
    std::thread worker;
};

class GuardTest : public DocumentTest {};

} // namespace

TEST_F(GuardTest, ConversionHoldsTheEngine)
{
    settings.values.raw.bWhiteBalanceGroup = true;
    InterferingSink sink;
    IProgressSink* previous = CDocumentProgress::SetSink(&sink);
    auto e = exposureOf(rgb8(40, 30, [](int, int) { return 0x806040u; }));
    CDocumentProgress::SetSink(previous);
    ASSERT_TRUE(e);
    ASSERT_TRUE(sink.worker.joinable());
    sink.worker.join();
    EXPECT_FALSE(sink.workerDoneDuringConversion); // waited for the conversion
    EXPECT_TRUE(sink.workerDone.load());
    EXPECT_FALSE(sink.ranNow);                      // busy
    EXPECT_FALSE(sink.deferredRan);
    QCoreApplication::processEvents();
    EXPECT_TRUE(sink.deferredRan);                  // runs later
    EXPECT_FALSE(CEngineGuard::IsBusy());
}

TEST(DocumentSettings, WithoutSourcesTheWindowDefaultsApply)
{
    const SDocumentSettings s = CDocumentSettings::Snapshot();
    EXPECT_FALSE(s.raw.bDenoiseGroup || s.raw.bOptimizeGroup || s.raw.bWhiteBalanceGroup || s.raw.bColorSpaceGroup ||
                 s.raw.bAlignGroup || s.raw.bDeGhostGroup);
    EXPECT_TRUE(s.raw.bDenoiseDarkImages);
    EXPECT_TRUE(s.raw.bOptimizeExposure);
    EXPECT_TRUE(s.raw.bLocalMTB);
    EXPECT_EQ(s.raw.iColorSpace, 1);
    EXPECT_EQ(s.raw.iScaleMethod, 4);
    EXPECT_EQ(s.raw.dScalePercent, 100.0);
    EXPECT_EQ(s.raw.iAlignQuality, 1);
    EXPECT_FLOAT_EQ(s.raw.fDenoiseSharpness, 24.0f / 99.0f);
    EXPECT_TRUE(s.raw.AutomaticWhiteBalance());
    EXPECT_EQ(s.fSigmoid, 0.5f);
    EXPECT_FALSE(s.bHDRGammaDisplay);

    // The preview flag is kept here until the options register.
    EXPECT_FALSE(CDocumentSettings::PreviewMode());
    CDocumentSettings::SetPreviewMode(true);
    EXPECT_TRUE(CDocumentSettings::Snapshot().bPreviewMode);
    CDocumentSettings::SetPreviewMode(false);

    SRawDevelopmentSettings r;
    for (int i : {-1, 16, 1000})
        EXPECT_EQ((r.iColorSpace = i, r.ColorSpaceIndex()), 0);
    r.fWhiteBalanceKelvin = -0.99993896484375f;
    EXPECT_TRUE(r.AutomaticWhiteBalance());
    r.fWhiteBalanceKelvin = 5500.0f;
    EXPECT_FALSE(r.AutomaticWhiteBalance());
}

TEST(DocumentProgress, PostsFromManyThreadsAllArrive)
{
    CProgressRecorder recorder;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 100; ++i)
                CDocumentProgress::AddMessage(1, QString::number(t), 0);
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(recorder.Messages().size(), 400u);
}

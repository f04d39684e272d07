// The chain buffers are filled in row bands on the engine's threads: the bits
// are those of the one-thread fill, whatever the thread count and size, and a
// chain run from them gives the same result.

#include "test_postprocessing_fixture.h"

#include "engine/views/zoom.h"

#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// The fill as it was: a scaled (or plain) copy on the calling thread.
std::vector<unsigned short> OneThreadFill(const std::vector<unsigned short>& source, QSize sourceSize, QSize target)
{
    int w = target.width(), h = target.height();
    IExposure::GetScaledSize(w, h, unsigned(sourceSize.width()), unsigned(sourceSize.height()));
    std::vector<unsigned short> out(size_t(w) * size_t(h) * 3, 0xABCD);
    const float sw = float(sourceSize.width()), sh = float(sourceSize.height());
    MP_UI_zoomPreviewPicture(source.data(), out.data(), 0, 0, 0, 0, float(w), float(h), float(w), sw, sh, 0.0f, 0.0f,
                             sw, sh);
    return out;
}

bool SameBits(const unsigned short* buffer, const std::vector<unsigned short>& expected)
{
    return buffer && std::memcmp(buffer, expected.data(), expected.size() * sizeof(unsigned short)) == 0;
}

} // namespace

TEST_F(PostProcessingTest, BandedFillHasTheBitsOfTheOneThreadFill)
{
    const struct {
        QSize source;
        QSize target;
        bool preview;
        const char* what;
    } cases[] = {
        {QSize(997, 613), QSize(997, 613), false, "plain copy, rows not a multiple of the bands"},
        {QSize(1201, 5), QSize(1201, 5), false, "fewer rows than threads"},
        {QSize(1, 1), QSize(1, 1), false, "one pixel"},
        {QSize(997, 613), QSize(700, 700), false, "bilinear scaling"},
        {QSize(997, 613), QSize(230, 160), true, "area average into the preview buffer"},
        {QSize(3000, 2000), QSize(3000, 2000), false, "large enough for huge pages"},
    };
    for (int threads : {1, 3, 4, 8}) {
        MP_UI_SetIdealThreadCount(threads);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", threads " + std::to_string(threads));
            const std::vector<unsigned short> source = TestImage(c.source.width(), c.source.height(), 3u + threads);
            const std::vector<unsigned short> expected = OneThreadFill(source, c.source, c.target);
            // a fresh block each time, then the same block again
            CPostProcessing::DeleteBuffer();
            for (int round = 0; round < 2; ++round) {
                ASSERT_TRUE(CPostProcessing::InitBuffer(const_cast<unsigned short*>(source.data()), c.source,
                                                        c.target, c.preview));
                EXPECT_TRUE(SameBits(c.preview ? CPostProcessing::GetPreviewBuffer() : CPostProcessing::GetBuffer(),
                                     expected));
            }
        }
    }
}

TEST_F(PostProcessingTest, FillInsideARunningOperationOfTheGuiThreadNeedsNoPass)
{
    // A paint during the progress window's events arrives on the GUI thread
    // while it holds the engine guard, maybe in the middle of a pass: the
    // fill must not queue on (or wait for) the task queue, and still gives
    // the same bits. The pass here is one task that waits for the fill.
    ASSERT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    const std::vector<unsigned short> source = TestImage(640, 480, 5);
    const std::vector<unsigned short> expected = OneThreadFill(source, QSize(640, 480), QSize(640, 480));
    static std::atomic<bool> s_filled;
    static std::atomic<bool> s_timedOut;
    s_filled = false;
    s_timedOut = false;
    auto waitForFill = [](TaskFuncParams) {
        for (int i = 0; i < 2000 && !s_filled.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        s_timedOut = !s_filled.load();
    };
    {
        CEngineGuard guard;
        CKernelThreads::AddTask(waitForFill, TaskFuncParams{});
        ASSERT_TRUE(CPostProcessing::InitBuffer(const_cast<unsigned short*>(source.data()), QSize(640, 480),
                                                QSize(640, 480), false));
        EXPECT_EQ(CKernelThreads::Pending(), 1); // the running pass is untouched
        s_filled = true;
        CKernelThreads::WaitTasks();
    }
    EXPECT_FALSE(s_timedOut.load());
    EXPECT_TRUE(SameBits(CPostProcessing::GetBuffer(), expected));
}

TEST_F(PostProcessingTest, FillOnAWorkerWaitsForTheRunningOperation)
{
    // The batch fills from its worker thread; while another thread runs an
    // engine operation the worker waits for it instead of sharing the queue.
    const std::vector<unsigned short> source = TestImage(512, 384, 9);
    const std::vector<unsigned short> expected = OneThreadFill(source, QSize(512, 384), QSize(512, 384));
    std::atomic<bool> filled{false};
    std::thread worker;
    {
        CEngineGuard guard;
        worker = std::thread([&] {
            CPostProcessing::InitBuffer(const_cast<unsigned short*>(source.data()), QSize(512, 384), QSize(512, 384),
                                        false);
            filled = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(filled.load());
    }
    worker.join();
    EXPECT_TRUE(filled.load());
    EXPECT_TRUE(SameBits(CPostProcessing::GetBuffer(), expected));
}

TEST_F(PostProcessingTest, FactoryChainFromTheBandedFillMatchesTheOneThreadFill)
{
    // The whole chain of the factory preset "Natürlich" run from the banded
    // fill and from the one-thread fill: the same result to the last bit.
    const QString preset = FindSourceFile("data/settings/lumivexpp_v3_01_natuerlich.ini");
    ASSERT_FALSE(preset.isEmpty());
    CPostProcessing chain;
    chain.SetSettingsPath(preset);
    chain.FromSettings();
    ASSERT_FALSE(chain.m_vecOperators.isEmpty());
    MP_fillLookupTables();
    const QSize size(601, 397);
    const std::vector<unsigned short> source = TestImage(size.width(), size.height(), 11);

    // one-thread fill, put into the chain buffer by hand
    ASSERT_TRUE(CPostProcessing::InitBuffer(const_cast<unsigned short*>(source.data()), size, size, false));
    const std::vector<unsigned short> reference = OneThreadFill(source, size, size);
    std::memcpy(CPostProcessing::GetBuffer(), reference.data(), reference.size() * sizeof(unsigned short));
    MP_UI_SetRandomSeed(1234);
    ASSERT_EQ(chain.Process(unsigned(size.width()), unsigned(size.height()), false), 0);
    const std::vector<unsigned short> before(CPostProcessing::GetBuffer(), CPostProcessing::GetBuffer() + reference.size());

    // banded fill into a fresh block
    CPostProcessing::DeleteBuffer();
    ASSERT_TRUE(CPostProcessing::InitBuffer(const_cast<unsigned short*>(source.data()), size, size, false));
    MP_UI_SetRandomSeed(1234);
    ASSERT_EQ(chain.Process(unsigned(size.width()), unsigned(size.height()), false), 0);
    EXPECT_TRUE(SameBits(CPostProcessing::GetBuffer(), before));
    EXPECT_FALSE(SameBits(CPostProcessing::GetBuffer(), reference)); // the chain did change the picture
}

// The worker jobs and their scheduler: waves, order, a thread that cannot
// start, the bands, the initial job record and the preview and data jobs.

#include "seriesfixture.h"

#include <QFileInfo>

#include <mutex>
#include <vector>

namespace {

// Start observer: for every start, the job's queue position and how many jobs
// queued before it had finished by then.
struct SStart {
    int index;
    int finishedBefore;
};
std::mutex g_mutex;
std::vector<SStart> g_starts;
const CAlignmentScheduler* g_scheduler = nullptr;
bool g_refuseStart = false;

bool observeStart(CAlignmentThread* job)
{
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        const int at = int(g_scheduler->m_vThreads.indexOf(job));
        int finished = 0;
        for (int i = 0; i < at; ++i)
            finished += g_scheduler->m_vThreads[i]->IsDone() ? 1 : 0;
        g_starts.push_back({at, finished});
    }
    if (g_refuseStart)
        return false;
    job->start();
    return true;
}

struct StartObserver {
    explicit StartObserver(const CAlignmentScheduler& s, bool refuse = false)
    {
        g_starts.clear();
        g_scheduler = &s;
        g_refuseStart = refuse;
        previous = CAlignmentScheduler::SetStartFunction(&observeStart);
    }
    ~StartObserver()
    {
        CAlignmentScheduler::SetStartFunction(previous);
        g_scheduler = nullptr;
        g_refuseStart = false;
    }
    CAlignmentScheduler::StartFn previous;
};

} // namespace

using AlignmentThreadsTest = SeriesTest;

TEST_F(AlignmentThreadsTest, BandsTileTheImageInThirtyTwoSteps)
{
    for (int height : {1, 31, 33, 4000}) {
        int expectedStart = 0;
        for (int band = 1; band <= 32; ++band) {
            int start = -1, end = -1;
            AlignmentBand(height, band, start, end);
            EXPECT_EQ(start, expectedStart) << height << " band " << band;
            EXPECT_GE(end, start);
            EXPECT_LE(end, height);
            expectedStart = end;
        }
        EXPECT_EQ(expectedStart, height) << height;
    }
    int s, e;
    AlignmentBand(4000, 1, s, e);
    EXPECT_EQ(e, 125);
    AlignmentBand(33, 32, s, e);
    EXPECT_EQ(s, 31); // trunc(31 * 33 / 32) = 31
}

TEST_F(AlignmentThreadsTest, JobRecordStartsWithItsInitialValues)
{
    CAlignmentScheduler scheduler(32);
    CAlignmentThread* job = scheduler.Enqueue(eAlignZoom);
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->m_eType, eAlignZoom);
    EXPECT_EQ(job->m_iResult, 0);
    EXPECT_EQ(job->m_iIndex, -1);
    EXPECT_FLOAT_EQ(job->m_fCongruenceAfter, 1.0f);
    EXPECT_FLOAT_EQ(job->m_fCongruenceBefore, 0.0f);
    EXPECT_FLOAT_EQ(job->m_fStrength, 0.5f);
    EXPECT_FLOAT_EQ(job->m_fLuminance, 0.5f);
    EXPECT_FLOAT_EQ(job->m_fTargetLuminance, 0.5f);
    EXPECT_FLOAT_EQ(job->m_fBrushRadius, 1.0f);
    EXPECT_EQ(job->m_pExposure, nullptr);
    EXPECT_TRUE(job->m_sImageFile.isEmpty());
}

TEST_F(AlignmentThreadsTest, EmptyQueueReturnsAtOnce)
{
    CAlignmentScheduler scheduler(32);
    EXPECT_TRUE(scheduler.AllFinished());
    scheduler.Process();
    EXPECT_TRUE(scheduler.m_vThreads.isEmpty());
}

TEST_F(AlignmentThreadsTest, ThirtyThreeJobsRunInAWaveOfThirtyTwoThenOne)
{
    MP_UI_SetUseMultithreadingMode(1);
    CAlignmentScheduler scheduler(32);
    EXPECT_EQ(scheduler.m_iMaxThreads, 32);
    for (int i = 0; i < 33; ++i) {
        CAlignmentThread* job = scheduler.Enqueue(eAlignScroll);
        job->m_iWidth = i + 1;
        job->m_iHeight = 2;
    }
    StartObserver observer(scheduler);
    scheduler.Process();
    ASSERT_EQ(g_starts.size(), 33u);
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(g_starts[i].index, i);
    EXPECT_EQ(g_starts[32].finishedBefore, 32); // the 33rd waits for the whole first wave
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(scheduler.m_vThreads[i]->m_iRight, i + 1);
    EXPECT_TRUE(scheduler.AllFinished());
}

TEST_F(AlignmentThreadsTest, WithoutMultithreadingJobsRunOneAfterTheOther)
{
    MP_UI_SetUseMultithreadingMode(0);
    CAlignmentScheduler scheduler(32);
    EXPECT_EQ(scheduler.m_iMaxThreads, 1);
    for (int i = 0; i < 6; ++i)
        scheduler.Enqueue(eAlignNone);
    StartObserver observer(scheduler);
    scheduler.Process();
    ASSERT_EQ(g_starts.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(g_starts[i].index, i);
        EXPECT_EQ(g_starts[i].finishedBefore, i);
    }
}

TEST_F(AlignmentThreadsTest, JobWhoseThreadCannotStartRunsOnTheCaller)
{
    MP_UI_SetUseMultithreadingMode(1);
    CAlignmentScheduler scheduler(32);
    for (int i = 0; i < 3; ++i) {
        CAlignmentThread* job = scheduler.Enqueue(eAlignRotate);
        job->m_iWidth = 10 + i;
        job->m_iHeight = 20;
        job->m_iRight = -7;
    }
    StartObserver observer(scheduler, true);
    scheduler.Process(); // would loop for ever if a refused job never finished
    EXPECT_TRUE(scheduler.AllFinished());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(scheduler.m_vThreads[i]->m_iRight, 10 + i);
        EXPECT_EQ(scheduler.m_vThreads[i]->m_iBottom, 20);
    }
}

TEST_F(AlignmentThreadsTest, TypeOutsideTheTableDoesNothing)
{
    CAlignmentScheduler scheduler(32);
    CAlignmentThread* job = scheduler.Enqueue(EAlignmentType(26));
    job->m_iWidth = 5;
    scheduler.Process();
    EXPECT_EQ(job->m_iResult, 0);
    EXPECT_EQ(job->m_iRight, 0);
}

TEST_F(AlignmentThreadsTest, PreviewJobsAfterLoadEqualAndWeightmapJobTouchesOnlyTheMap)
{
    std::unique_ptr<CExposure> a(grey(900, 700, 40, 0.3f)), b(grey(900, 700, 40, 0.3f)), c(grey(900, 700, 40, 0.3f));
    ASSERT_TRUE(a && b && c);
    MP_UI_SetPreviewSize(0.2f);
    for (CExposure* e : {a.get(), b.get(), c.get()}) {
        ASSERT_EQ(e->RecalcPreview(), 0);
        for (size_t i = 0; i < e->PixelCount(); ++i)
            e->m_psMWeightBuffer[i] = short((i * 37) % 2000 - 1000);
        std::memset(e->m_pusPreviewBuffer, 0, e->PreviewPixelCount() * 6);
    }
    CAlignmentScheduler scheduler(32);
    scheduler.Enqueue(eAlignZoomPreview)->m_pExposure = a.get();
    scheduler.Enqueue(eAlignZoomPreviewAfterLoad)->m_pExposure = b.get();
    scheduler.Enqueue(eAlignZoomWeightmap)->m_pExposure = c.get();
    scheduler.Process();

    const size_t pn = a->PreviewPixelCount();
    ASSERT_GT(pn, 0u);
    EXPECT_EQ(std::memcmp(a->m_pusPreviewBuffer, b->m_pusPreviewBuffer, pn * 6), 0);
    EXPECT_EQ(std::memcmp(a->m_psMWeightPreviewBuffer, b->m_psMWeightPreviewBuffer, pn * 2), 0);
    EXPECT_EQ(std::memcmp(a->m_psMWeightPreviewBuffer, c->m_psMWeightPreviewBuffer, pn * 2), 0);
    bool anyMap = false;
    for (size_t i = 0; i < pn; ++i)
        anyMap |= a->m_psMWeightPreviewBuffer[i] != 0;
    EXPECT_TRUE(anyMap);
    bool anyImage = false, cImage = false;
    for (size_t i = 0; i < pn * 3; ++i) {
        anyImage |= a->m_pusPreviewBuffer[i] != 0;
        cImage |= c->m_pusPreviewBuffer[i] != 0;
    }
    EXPECT_TRUE(anyImage);
    EXPECT_FALSE(cImage); // type 14 leaves the preview image alone
}

TEST_F(AlignmentThreadsTest, SyntheticExposureSavesAndLoadsOnlyItsWeightmap)
{
    MP_UI_SetBufferCompressionMode(0);
    std::unique_ptr<CExposure> e(grey(600, 520, 90, 0.4f));
    ASSERT_TRUE(e);
    e->m_bSynthetic = true;
    for (size_t i = 0; i < e->PixelCount(); ++i)
        e->m_psMWeightBuffer[i] = short(i % 300);
    {
        CAlignmentScheduler scheduler(32);
        CAlignmentThread* job = scheduler.Enqueue(eAlignSaveData);
        job->m_pExposure = e.get();
        job->m_sImageFile = path("CMap0000.dat");
        job->m_sWeightFile = path("MWMap0000.dat");
        scheduler.Process();
        EXPECT_EQ(job->m_iResult, 0);
    }
    EXPECT_FALSE(QFileInfo::exists(path("CMap0000.dat")));
    EXPECT_EQ(QFileInfo(path("MWMap0000.dat")).size(), qint64(e->PixelCount() * 2));

    std::vector<unsigned short> image(e->m_pusBuffer, e->m_pusBuffer + e->PixelCount() * 3);
    std::memset(e->m_psMWeightBuffer, 0, e->PixelCount() * 2);
    CAlignmentScheduler scheduler(32);
    CAlignmentThread* job = scheduler.Enqueue(eAlignLoadData);
    job->m_pExposure = e.get();
    job->m_sImageFile = path("CMap0000.dat"); // missing: not read for a synthetic exposure
    job->m_sWeightFile = path("MWMap0000.dat");
    scheduler.Process();
    EXPECT_EQ(job->m_iResult, 0);
    EXPECT_EQ(e->m_psMWeightBuffer[299], 299);
    EXPECT_EQ(std::memcmp(image.data(), e->m_pusBuffer, image.size() * 2), 0);
}

#include "enginefixture.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

namespace {

struct BandCase {
    int h;
    int n;
    int chunks;
    std::vector<int> firstChunkEnds; // ends of the queued tasks of chunk 0 (empty: not checked)
    int tasks;
    int lastEndOfChunk0; // -1: not checked
};

class BandSplit : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandSplit, CoversEveryRowOnceInTheEngineOrder)
{
    const BandCase& c = GetParam();
    std::vector<std::pair<int, int>> bands;
    std::vector<int> chunkEnds;
    MP_forEachBand(
        c.h, c.n, [&](int s, int e) { bands.emplace_back(s, e); }, [&](int, int end) { chunkEnds.push_back(end); });
    EXPECT_EQ(static_cast<int>(chunkEnds.size()), c.chunks);
    EXPECT_EQ(static_cast<int>(bands.size()), c.tasks);
    int next = 0;
    for (auto [s, e] : bands) {
        EXPECT_EQ(s, next);
        EXPECT_GT(e, s);
        next = e;
    }
    EXPECT_EQ(next, c.h);
    if (!c.firstChunkEnds.empty()) {
        std::vector<int> ends;
        for (size_t i = 0; i < c.firstChunkEnds.size() && i < bands.size(); ++i)
            ends.push_back(bands[i].second);
        EXPECT_EQ(ends, c.firstChunkEnds);
    }
    if (c.lastEndOfChunk0 >= 0) {
        EXPECT_EQ(chunkEnds.front(), c.lastEndOfChunk0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BandSplit,
    ::testing::Values(BandCase{0, 8, 1, {}, 0, 0}, BandCase{100, 8, 1, {12, 25, 37, 50, 62, 75, 87, 100}, 8, 100},
                      BandCase{10, 16, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10, 10},
                      BandCase{2000, 8, 3, {}, 24, 666}, BandCase{3074, 8, 6, {}, 48, -1}));

TEST(SingleBand, QueuesExactlyNTasksEvenWhenEmpty)
{
    std::vector<std::pair<int, int>> bands;
    MP_forEachSingleBand(3, 8, [&](int s, int e) { bands.emplace_back(s, e); });
    ASSERT_EQ(bands.size(), 8u);
    EXPECT_EQ(bands.back().second, 3);
    EXPECT_EQ(bands[0], std::make_pair(0, 0));
}

TEST(TableSplit, EightTasksOverTheFullTable)
{
    std::vector<int> ends;
    MP_forEachTableRange(65536, 8, [&](int, int e) { ends.push_back(e); });
    EXPECT_EQ(ends, (std::vector<int>{8192, 16384, 24576, 32768, 40960, 49152, 57344, 65536}));
}

std::mutex g_orderMutex;
std::vector<int> g_done;

void recordTask(TaskFuncParams p)
{
    std::lock_guard<std::mutex> lock(g_orderMutex);
    g_done.push_back(MP_taskStart(p));
}

class TaskQueue : public EngineTest {};

TEST_F(TaskQueue, WaitWithNothingQueuedReturns)
{
    C_WaitTasks();
    EXPECT_EQ(CKernelThreads::Pending(), 0);
}

TEST_F(TaskQueue, ThreeHundredTasksGrowTheListTo512)
{
    g_done.clear();
    TaskFuncParams t{};
    for (int i = 0; i < 300; ++i) {
        MP_setTaskRange(t, i, i + 1);
        C_AddTask(recordTask, t);
    }
    EXPECT_GE(CKernelThreads::Capacity(), 512);
    C_WaitTasks();
    EXPECT_EQ(g_done.size(), 300u);
    EXPECT_EQ(CKernelThreads::Pending(), 0);
}

TEST_F(TaskQueue, CancelRequestQueuesNothing)
{
    g_done.clear();
    MP_UI_SetIsCalculatingCancelRequest(1);
    TaskFuncParams t{};
    C_AddTask(recordTask, t);
    EXPECT_EQ(CKernelThreads::Pending(), 0);
    C_WaitTasks();
    EXPECT_TRUE(g_done.empty());
}

TEST(TaskWords, RangeRoundTripsSignedValues)
{
    TaskFuncParams t{};
    MP_setTaskRange(t, -5, 70000);
    EXPECT_EQ(MP_taskStart(t), -5);
    EXPECT_EQ(MP_taskEnd(t), 70000);
}

std::vector<float> g_posted;
void recordProgress(int, float f) { g_posted.push_back(f); }
std::atomic<int> g_rows{0};
void countRows(TaskFuncParams p) { g_rows += MP_taskEnd(p) - MP_taskStart(p); }

TEST_F(TaskQueue, BandPassPostsProgressEveryPeriodChunks)
{
    // 10 chunks (h = 10 * 64 * 4) with period 4: progress after chunks 0, 4, 8.
    g_posted.clear();
    g_rows = 0;
    C_SetAddMessageHook(recordProgress);
    _category = 3;
    _progressstart = 0.0f;
    _progressdelta = 1.0f;
    MP_runBandPass(countRows, TaskFuncParams{}, 2560, 4);
    EXPECT_EQ(g_rows.load(), 2560);
    ASSERT_EQ(g_posted.size(), 3u);
    EXPECT_FLOAT_EQ(g_posted[0], 0.1f);
    EXPECT_FLOAT_EQ(g_posted[2], 0.9f);

    g_posted.clear();
    _category = -1;
    MP_runBandPass(countRows, TaskFuncParams{}, 2560, 4);
    EXPECT_TRUE(g_posted.empty());
}

} // namespace

namespace {

// Every task of a pass marks its own slot; a wait must see every mark.
std::vector<std::atomic<int>> g_runs(20000);
std::atomic<int> g_foreignThread{0};
std::thread::id g_caller;

void markRun(TaskFuncParams p)
{
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i)
        g_runs[static_cast<size_t>(i)].fetch_add(1);
    if (std::this_thread::get_id() != g_caller)
        g_foreignThread.fetch_add(1);
}

void resetRuns()
{
    for (auto& r : g_runs)
        r.store(0);
    g_foreignThread = 0;
    g_caller = std::this_thread::get_id();
}

class TaskRuns : public EngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(TaskRuns, EveryTaskRunsExactlyOnceBeforeTheWaitReturns)
{
    MP_UI_SetIdealThreadCount(GetParam());
    for (int tasks : {0, 1, 7, 300, 20000}) {
        SCOPED_TRACE(tasks);
        resetRuns();
        TaskFuncParams t{};
        for (int i = 0; i < tasks; ++i) {
            MP_setTaskRange(t, i, i + 1);
            C_AddTask(markRun, t);
        }
        C_WaitTasks();
        EXPECT_EQ(CKernelThreads::Pending(), 0);
        int once = 0;
        for (int i = 0; i < tasks; ++i)
            once += g_runs[static_cast<size_t>(i)].load() == 1;
        EXPECT_EQ(once, tasks);
        for (size_t i = static_cast<size_t>(tasks); i < g_runs.size(); ++i)
            ASSERT_EQ(g_runs[i].load(), 0) << i;
    }
    // The room never shrinks: 20,000 tasks in one pass made it 32,768.
    EXPECT_EQ(CKernelThreads::Capacity(), 32768);
}

INSTANTIATE_TEST_SUITE_P(ThreadCounts, TaskRuns, ::testing::Values(1, 3, 8));

TEST_F(TaskQueue, AThreadCountChangedWithinAPassStillRunsEveryTaskOnce)
{
    resetRuns();
    TaskFuncParams t{};
    for (int i = 0; i < 30; ++i) {
        MP_UI_SetIdealThreadCount(i / 10 == 1 ? 1 : 4);
        MP_setTaskRange(t, i, i + 1);
        C_AddTask(markRun, t);
    }
    EXPECT_EQ(CKernelThreads::Pending(), 30);
    C_WaitTasks();
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(g_runs[static_cast<size_t>(i)].load(), i < 30 ? 1 : 0) << i;
}

TEST_F(TaskQueue, ASingleThreadRunsEveryTaskOnTheCaller)
{
    MP_UI_SetIdealThreadCount(1);
    resetRuns();
    MP_runBandPass(markRun, TaskFuncParams{}, 5000);
    EXPECT_EQ(g_foreignThread.load(), 0);
    EXPECT_EQ(g_runs[4999].load(), 1);
}

// A pass reads what the previous pass wrote: a row of pass k becomes k + 1
// only when the mirrored row, in a band of pass k - 1, already holds k.
std::vector<int> g_rows2(4096);
void incrementIfPrevious(TaskFuncParams p)
{
    const int pass = static_cast<int>(p.w[0]);
    for (int i = MP_taskStart(p); i < MP_taskEnd(p); ++i) {
        // the row mirrored into another band was written by the last pass
        const int mirrored = g_rows2[static_cast<size_t>(4095 - i)];
        if (mirrored == pass)
            g_rows2[static_cast<size_t>(i)] = pass + 1;
    }
}

TEST_F(TaskQueue, AWaitReturnsOnlyAfterEveryEarlierTaskFinished)
{
    MP_UI_SetIdealThreadCount(8);
    std::fill(g_rows2.begin(), g_rows2.end(), 0);
    // Pass k reads rows of other bands that pass k - 1 wrote; reads and
    // writes of one pass touch rows [0, 2048) or [2048, 4096) alternately.
    for (int pass = 0; pass < 200; ++pass) {
        TaskFuncParams t{};
        t.w[0] = static_cast<uint64_t>(pass);
        const int base = (pass % 2) * 2048;
        for (int k = 0; k < 16; ++k) {
            MP_setTaskRange(t, base + k * 128, base + (k + 1) * 128);
            C_AddTask(incrementIfPrevious, t);
        }
        C_WaitTasks();
    }
    // A missed barrier breaks the chain for good.
    for (size_t i = 0; i < g_rows2.size(); ++i)
        ASSERT_EQ(g_rows2[i], i < 2048 ? 199 : 200) << i;
}

} // namespace

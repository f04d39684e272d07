#pragma once
// The document's worker jobs. A caller builds a CAlignmentScheduler on its
// stack, asks it for one job per exposure or per row band (Enqueue), fills the
// job's fields, calls Process, which runs the jobs on their own threads in
// waves of at most 32 (one at a time while the engine's multithreading switch
// is off) and returns when every job has finished, then reads the outputs back
// from the jobs. The scheduler deletes its jobs.
//
// Jobs share no lock: every wave partitions its data (disjoint row bands of
// one output, or one exposure per job). A job never takes the engine guard
// (its caller holds it around Process), never queues engine band tasks, never
// touches the engine's scratch buffer and never writes an engine setting.

#include "document/exposure.h"

#include <QString>
#include <QThread>
#include <QVector>

#include <atomic>

struct MP_Params;
struct MP_FusionParams;

enum EAlignmentType {
    eAlignNone = 0,
    eAlignScroll = 1,
    eAlignDetail = 2,
    eAlignMicroDetail = 3,
    eAlignCrop = 4,
    eAlignZoomPreview = 5,
    eAlignLinBlur = 6,
    eAlignFusion = 7,
    eAlignNormalize = 8,
    eAlignBlurSignedMap = 9,
    eAlignDeGhost = 10,
    eAlignSingleExpose = 11,
    eAlignBrushSmooth = 12,
    eAlignBrushPaint = 13,
    eAlignZoomWeightmap = 14,
    eAlignSaveData = 15,
    eAlignLoadData = 16,
    eAlignZoomPreviewAfterLoad = 17,
    eAlignRotateLeft = 18,
    eAlignRotateRight = 19,
    eAlignMirror = 20,
    eAlignFlip = 21,
    eAlignLuminanceMap = 22,
    eAlignRotate = 23,
    eAlignZoom = 24,
    eAlignDepthMapFusion = 25
};

class CAlignmentThread : public QThread {
public:
    CAlignmentThread();
    ~CAlignmentThread() override;

    EAlignmentType m_eType = eAlignNone;
    int m_iResult = 0;
    CExposure* m_pExposure = nullptr;
    unsigned short* m_pSource = nullptr;
    unsigned short* m_pTarget = nullptr;
    unsigned short* m_pSourcePrev = nullptr;
    unsigned short* m_pTargetPrev = nullptr;
    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iWidthPrev = 0;
    int m_iHeightPrev = 0;
    float m_fAccuracy = 0.0f;
    float m_fRadius = 0.0f;
    int m_iGrid = 0;
    float m_fThreshold = 0.0f;
    float m_fCongruenceBefore = 0.0f;
    float m_fCongruenceAfter = 1.0f;
    int m_iLeft = 0;
    int m_iTop = 0;
    int m_iRight = 0;
    int m_iBottom = 0;
    unsigned char* m_pRefBitmap = nullptr;
    int m_iIndex = -1;
    MP_Params* m_pParams = nullptr;
    MP_FusionParams* m_pFusion = nullptr;
    int m_iRowStart = 0;
    int m_iRowEnd = 0;
    short* m_pWeightMap = nullptr;
    short* m_pWeightMapPrev = nullptr;
    float m_fStrength = 0.5f;
    float m_fLuminance = 0.5f;
    float m_fTargetLuminance = 0.5f;
    float m_fBrushRadius = 1.0f;
    float m_fBrushX = 0.0f;
    float m_fBrushY = 0.0f;
    QString m_sImageFile;
    QString m_sWeightFile;
    float m_fBrushStrength = 0.0f;
    int m_iExtra = 0;
    unsigned char* m_pWorkBuffer = nullptr;
    int m_iInterpolation = 0;
    int m_iPass = 0;

    // Pre-coding flags of the image data file (jobs 15, 16): the project's
    // save mode, given by the caller.
    int m_iSaveMode = 1;
    // Geometry jobs (4, 18, 19, 21): the memory the caller reserved for this
    // exposure before queuing; the job takes it over. Crop: the new preview
    // size is in m_iWidthPrev x m_iHeightPrev.
    CExposure::SGeometryBlocks m_sBlocks;

    // True once the job has run, on its own thread or (when its thread could
    // not start) on the caller's.
    bool IsDone() const { return m_bDone.load(std::memory_order_acquire) || isFinished(); }
    // Runs the job on the calling thread (a thread that could not start).
    void RunHere();

protected:
    void run() override;

private:
    void Execute();
    std::atomic<bool> m_bDone{false};
};

class CAlignmentScheduler {
public:
    // The argument is not used: a wave holds 32 jobs while the engine's
    // multithreading switch is on, else 1.
    explicit CAlignmentScheduler(int threads = 32);
    ~CAlignmentScheduler();
    CAlignmentScheduler(const CAlignmentScheduler&) = delete;
    CAlignmentScheduler& operator=(const CAlignmentScheduler&) = delete;

    // A new job of the type, appended to the queue and not started; null (the
    // queue unchanged) when it cannot be created. Callers abandon their
    // operation with the out-of-memory message on null.
    CAlignmentThread* Enqueue(EAlignmentType type);
    // Runs every queued job to completion, wave by wave in queue order, and
    // returns when all are done. A job whose thread cannot start runs on the
    // calling thread.
    void Process();
    bool AllFinished() const;
    void DestroyThreads();

    // Starts a job's thread; true when it runs (or already ran). Tests replace
    // it to watch the waves or to make a start fail; nullptr restores
    // QThread::start. Returns the previous function (nullptr for the default).
    using StartFn = bool (*)(CAlignmentThread* job);
    static StartFn SetStartFunction(StartFn fn);

    int m_iMaxThreads;
    QVector<CAlignmentThread*> m_vThreads;
};

// The 32 row bands of the fusion and luminance-map jobs over height rows:
// band i (1..32) ends at min(trunc(i * height * 0.03125f), height) and starts
// where the previous one ended (0 for the first).
void AlignmentBand(int height, int band, int& rowStart, int& rowEnd);

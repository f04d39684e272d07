#pragma once
// The exposure series, the document of the HDR stage: an ordered list of
// exposures, one of them the master, from which the series computes its own
// 16-bit working image (the HDR result in its IExposure buffers), and the
// series' part of a project.
//
// The main window's series is the document series: it registers as a project
// participant and is named by g_pExposureSeries. Series built elsewhere (the
// batch window's, one per entry, off the GUI thread) pass false to the
// constructor: they take no project slot and leave the pointer alone.
//
// Operations run on the thread that owns the series (the GUI thread for the
// document series); heavy work runs on worker jobs (document/alignmentthreads.h)
// while the caller holds the engine guard.

#include "document/exposure.h"
#include "document/imageloader.h"
#include "document/project.h"

#include <QString>
#include <QVector>

#include <FreeImage.h>

struct MP_FusionParams;
struct MP_HDR_DATA; // declared by no one: the depth-map hook takes it unused

class CExposureSeries : public IExposure, public IProject {
public:
    static constexpr int kParameterSlots = 10;
    static constexpr int kParameterValues = 256;
    static constexpr size_t kDummyBufferBytes = 315000000;

    // The remembered state of change detection: one entry per exposure, the
    // number an interactive series holds.
    struct SState {
        static constexpr int kEntries = 1;
        SState();
        void Clear();
        void Remember(const CExposureSeries* series);
        bool Compare(const CExposureSeries* series) const;

        CExposure* m_pExposures[kEntries];
        float m_fLuminance[kEntries];
        float m_fGlobalWeight[kEntries];
        bool m_bActive[kEntries];
        bool m_bMaster[kEntries];
        bool m_bSynthetic[kEntries];
        float m_fExposureValue[kEntries];
        QString m_strKernelName;
        float m_pfParameterValues[kParameterSlots][kParameterValues];
    };

    explicit CExposureSeries(bool documentSeries = true);
    ~CExposureSeries() override;

    // ---- Exposures ----------------------------------------------------------
    // Turns one load record into an exposure and appends it. true when the
    // series holds exactly one exposure afterwards. Whenever no exposure took
    // the record's bitmap, the bitmap is released and the record's pointer
    // set to null.
    bool Add(SExposure& record);
    void AddSeries(QVector<SExposure>& records);
    bool AddSynthetic(CExposure* exposure, float value, bool append, bool recalculate);
    // Appends a prepared exposure while the list holds at most two; false
    // when it is not taken (it stays with the caller).
    bool AddExposure(CExposure* exposure);
    void Remove(CExposure* exposure, bool deleteIt, bool masterAllowed);
    bool Exists(const CExposure* exposure) const;
    void Sort();
    void UpdateMaster();
    void SetMaster(CExposure* exposure);
    int GetNumActive() const;
    static FIBITMAP* RescaleFreeImage(FIBITMAP* bitmap, float sideFactor);
    bool CreateDummyBuffer();
    void ClearDummyBuffer();

    // Index accessors: the index clamped to the list; null (empty name) on an
    // empty series. The working buffer by the preview flag.
    unsigned short* GetExposureBuffer(int index) const;
    unsigned short* GetAWeightBuffer(int index) const;
    short* GetMWeightBuffer(int index) const;
    QString GetFileName(int index) const;
    void RemoveFullSizeBuffer();

    // Alignment, latitude optimisation, synthetic refresh and de-ghosting
    // after a load, each as the RAW development settings ask.
    void AlignAndOptimizeFromDialog(CExposure* exposure);
    // Aligns the loaded exposures (only `only` when not null) to the master:
    // rotation, shift, zoom, detail mesh and micro detail (the detail kinds
    // from pass detailPass on), optionally cropping to the common area, in
    // passes while multipass improves enough. The master itself is never
    // changed; synthetic exposures are recomputed and previews rebuilt.
    void Align(int detailPass, bool shift, bool rotation, bool zoom, bool detail, bool micro, float radius,
               float accuracy, bool crop, int interpolation, bool multipass, CExposure* only);
    // Negative strokes into the manual weight maps where exposures differ
    // from the master; strength 0..1.
    void CalcDeGhostWeights(float strength);
    // Spreads the loaded exposures' mean luminances between the darkest and
    // brightest of them (three or more loaded exposures).
    void OptimizeLatitudeExpose();
    // How well a candidate image fits the series: 0 (no fit) .. 1.
    float CalcCongruence(CExposure* candidate);

    // ---- HDR calculation ----------------------------------------------------
    // Computes the result; false when nothing was computed (no change, no
    // active exposure, or the result buffers cannot be had). Holds the engine
    // guard throughout.
    bool HDR(bool force, bool unused = true);
    // Fills the fusion descriptor of one pass (zeroed first): sizes, the
    // slot (the master when active, else the reference exposure), reference,
    // output, parameters, scale and sigmoid. Returns the number of active
    // exposures (0: the slot and reference stay empty). output: the buffer
    // the pass writes (null: the series' own of the pass).
    int FillFusionDescriptor(MP_FusionParams& desc, bool preview, float sigmoid,
                             unsigned short* output = nullptr) const;
    void CalcGlobalHDRWeights(int method);
    void CalcGlobalHDRWeightsEqual();
    void CalcGlobalHDRWeightsLuminance();
    void CalcGlobalHDRWeightsCongruence();
    void CalcGlobalHDRWeightsLuminanceCongruence();
    void CalcGlobalHDRWeightsMasterDominant();
    void CalcGlobalHDRWeightsLightDominant();
    void CalcGlobalHDRWeightsDarkDominant();
    void UpdateSynthetics();
    // false when the previews would change but cannot be rebuilt (out of
    // memory; nothing changed).
    bool RecalcPreviewSeries();
    QString GetMergedFilename(int max) const;
    static bool caseInsensitiveLessThan(const QString& a, const QString& b);
    void ClearManualWeightmaps();

    // ---- State and geometry -------------------------------------------------
    void RememberState();
    bool HasStateChanged(bool forget);
    // 0; -2 for a rectangle outside the series (nothing changed); -1 when
    // memory runs out (out-of-memory message, nothing changed).
    int Resize(int x0, int y0, int x1, int y1);
    int RotateRight();
    int RotateLeft();
    int Flip();
    int Mirror();
    // false when memory runs out (every exposure as it was).
    bool RecalcPreview();
    void ExchangeExposures(int i, int j);
    void PrepareDepthMap(float blur);
    void CreateDepthMap(MP_HDR_DATA*) {}
    void SetDenoiseSourceValue() {}

    // ---- Project --------------------------------------------------------------
    bool SaveProject(QSettings& settings, const QString& dataFolder) const override;
    bool LoadProject(QSettings& settings, const QString& dataFolder) override;
    // Writes length bytes (compressed while the engine's buffer compression
    // is on) through a temporary file renamed over the old one. true on any
    // failure (the old file then whole).
    static bool SaveDataBuffer(const char* data, unsigned int length, const QString& path);
    // Reads exactly length bytes into destination: a raw file of that size,
    // or (compression on) a compressed file whose stored length is length and
    // whose stream inflates to exactly that. true on any failure; never
    // writes past length bytes.
    static bool LoadDataBuffer(char* destination, unsigned int length, const QString& path);
    // The data-file jobs: 0; 1 a file failed; -1 out of memory.
    static int SaveExposureData(const CExposure& e, const QString& imageFile, const QString& weightFile,
                                int saveMode);
    static int LoadExposureData(CExposure& e, const QString& imageFile, const QString& weightFile, int saveMode);

    // ---- Fields ---------------------------------------------------------------
    QVector<CExposure*> m_vExposures;
    CExposure* m_pMaster;
    QString m_strKernelName;
    float m_pfParameterValues[kParameterSlots][kParameterValues];
    void* m_pDummyBuffer;
    int m_iDummyBufferUsers;
    float m_fDynamicRange;
    int m_iDepthMapWidth;
    int m_iDepthMapHeight;
    unsigned short* m_pDepthMap;
    SState m_sState;
    // false: a full-size HDR run computes the full-size image only, without
    // the preview-size pass before it (a series whose preview nobody shows,
    // as the batch run's).
    bool m_bPreviewPassWithFullSize = true;

private:
    bool HDRPass(bool preview, bool final, double startTime);
    int Transform(int type, const char* name);
    bool m_bDocumentSeries;
};

extern CExposureSeries* g_pExposureSeries;

// Helpers of the alignment driver, de-ghosting and latitude optimisation.
// Grows a crop rectangle to more than 499 pixels per side (width first,
// held to the image), at most 1000 steps; iterations: the steps taken.
void AlignmentGrowCropRectangle(int w, int h, int& left, int& top, int& right, int& bottom, int* iterations);
// An alignment slider value (0..1) as the driver takes it: below 0.5 mapped
// onto 0.2..0.5.
float AlignmentSliderValue(float slider);
// Radius sum of the de-ghost blur (two passes) for a map size and strength.
float DeGhostBlurRadiusSum(int width, int height, float strength);
// A too narrow luminance range widened: min^(5/3), max^0.6.
void LatitudeWidenRange(float& min, float& max);
// The k-th loaded exposure's target luminance among n.
float LatitudeTarget(int k, int n, float exponent, float min, float max);

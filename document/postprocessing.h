#pragma once
// The post-processing chain: operator and parameter records, CPostProcessing
// (the chain, its two class-wide result buffers, its run through the engine,
// its INI file and the film pass), and the two widget-free readers the
// post-processing dock builds on: the film-type table and the operator
// catalogue ":/operators/PPOperators.xml".

#include <QHash>
#include <QMap>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVector>

#include <cstdint>

class CExposureSeries;
struct MP_Params;

// ---- Records -----------------------------------------------------------------

// Parameter type codes (SParameter::eType).
enum EParameterType {
    ePTSlider = 0,
    ePTPosition = 1,
    ePTSpline = 2,
    ePTColor = 3,
    ePTLine = 4,
    ePTBlend = 5,
    ePTGeometry = 6,
};

// Operator type codes (SOperator::eType), the catalogue's "type" strings.
enum EOperatorType {
    eOTTonemapping = 0,
    eOTEnhance = 1,
    eOTGeometry = 2,
    eOTExposure = 3,
    eOTColor = 4,
    eOTSmooth = 5,
    eOTArtwork = 6,
};

constexpr int PP_MAX_PARAMETERS = 10;       // parameter sets of one kernel run
constexpr int PP_PARAMETER_VALUES = 256;    // floats of one parameter
constexpr int PP_FILMTYPE_VALUES = 17;      // values of one film-type row
constexpr int PP_MAX_FILMTYPES = 512;       // rows of the film-type table

struct SParameter {
    int eType = 0;
    float pfValues[PP_PARAMETER_VALUES] = {};
};

struct SOperator {
    QString kernel;
    unsigned id = 0; // qHash(kernel)
    QString name;
    int eType = 0;
    bool bActive = true;
    int iprecalcSmooth = 0;
    bool bReadBWPoint = false;
    bool bCalcBW = false;
    bool bCalcGradation = false;
    bool pano = false;
    // Room for the ten parameters an operator can have (one per parameter
    // set of a kernel run), so a chain operator needs no heap block.
    QVarLengthArray<SParameter, PP_MAX_PARAMETERS> parameters;
};

// qHash of a kernel name, the operator id.
unsigned PP_OperatorId(const QString& kernel);

// ---- Seams -------------------------------------------------------------------

// The post-processing dock's film settings, read by every chain at the start
// of a run on the GUI thread (SetProcessData). The dock implements it and
// registers itself with CPostProcessing::SetFilmSettings.
class IFilmSettings {
public:
    virtual ~IFilmSettings();
    virtual int FilmTypeIndex() const = 0;        // combo index (-1 when empty)
    virtual float FilmTypeIntensity() const = 0;  // fraction 0..1
    virtual float FilmTypeGraining() const = 0;   // fraction 0..1
    // The 17 values of row `row`; false for a row outside the table.
    virtual bool FilmTypeRow(int row, float values[PP_FILMTYPE_VALUES]) const = 0;
};

// What a main-image run tells the main window: the project changed (save
// action, change counter, timeline selection, window title) and the run's
// time for the usage statistics. The main window implements it.
class IPostProcessingHost {
public:
    virtual ~IPostProcessingHost();
    virtual void PostProcessingStarted() = 0;
    virtual void PostProcessingTime(int milliseconds) = 0;
};

// ---- The chain ---------------------------------------------------------------

class CPostProcessing {
public:
    CPostProcessing();
    virtual ~CPostProcessing();

    QVector<SOperator> m_vecOperators;
    QString m_strDisplayName;
    QString m_strCategory;
    QString m_strSettingsPath;
    bool m_bAppendOnLoad = false;
    bool m_bForceApply = false;
    bool m_bChanged = false;
    bool m_bChangedByAssistant = false;
    uint32_t m_uiTimeStamp = 0;
    float m_fGreyScaleColor = 0.0f;
    float m_fGreyScaleSaturation = 0.0f;
    int m_iStructureType = 0;
    float m_fStructureSmooth = 0.0f;
    float m_pfStructureValues[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    int m_piStructureColors[4] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    bool m_bStructureShowDetection = false;
    int m_iFilmTyp = 0;
    float m_fFilmTypIntensity = 0.0f;
    float m_fFilmTypGraining = 0.0f;
    CExposureSeries* m_pAccordingExposureSeries = nullptr;

    void SetDisplayName(const QString& name) { m_strDisplayName = name; }
    void SetCategory(const QString& category) { m_strCategory = category; }
    void SetSettingsPath(const QString& path) { m_strSettingsPath = path; }
    QString GetDisplayName() const;
    QString GetDisplayNameWithCategory() const;
    void SetGreyScaleColor(float f) { m_fGreyScaleColor = f; }
    void SetGreyScaleSaturation(float f) { m_fGreyScaleSaturation = f; }
    void SetStructureData(int type, float smooth, float v0, float v1, float v2, float v3, bool showDetection, int c0,
                          int c1, int c2, int c3);
    void SetFilmTyp(int row) { m_iFilmTyp = row; }
    void SetAccordingExposureSeries(CExposureSeries* series) { m_pAccordingExposureSeries = series; }
    // Takes the film type, intensity, graining and the row's values from the
    // dock (GUI thread only; without a dock nothing changes).
    void SetProcessData();

    int GetLayerIconIndex(int row) const;
    bool IsMainKernelNeeded(const SOperator& op) const;
    bool IsNextKernelCPU(unsigned index) const;
    bool IsLastKernelCPU(unsigned index) const;

    // Runs the chain on the preview or the full-size buffer. Returns 0, the
    // first negative result of a pass (the run stops there), -2 without a
    // buffer, or PP_BUSY when asked for on the GUI thread inside another
    // engine operation (the caller posts it again).
    int Process(unsigned width, unsigned height, bool preview);
    // The film pass on `buffer` of `size`; 0 or the first negative result.
    int ProcessFilmType(unsigned width, unsigned height, bool preview, unsigned short* buffer, QSize size);

    // The chain settings file. ToSettings reports whether the file was
    // written (a failed write leaves the old file whole).
    bool ToSettings();
    bool ToSettings(const QString& path);
    void FromSettings();
    void FromSettings(const QString& path);

    // ---- class-wide result buffers ----
    // false (buffer and size unchanged) for a null source or a side <= 0;
    // false with the buffer null and size (-1, -1) when memory runs out.
    static bool InitBuffer(unsigned short* source, const QSize& sourceSize, const QSize& targetSize, bool preview);
    static unsigned short* GetBuffer() { return _s_pusBuffer; }
    static QSize GetBufferSize() { return _s_Size; }
    static unsigned short* GetPreviewBuffer() { return _s_pusPreviewBuffer; }
    static QSize GetPreviewBufferSize() { return _s_PreviewSize; }
    static void DeleteBuffer();
    static QPixmap CreatePixmap(bool border, bool preview);
    static QPixmap CreateHistogram(int width, int height, bool b1, bool b2, bool b3, bool b4, bool b5);

    // ---- seams ----
    static void SetFilmSettings(IFilmSettings* settings);
    static IFilmSettings* FilmSettings();
    static void SetHost(IPostProcessingHost* host);
    // The program's locale name (COptions); empty: the default QLocale's.
    static void SetLocaleName(const QString& locale);

    // Clears the block and fills the engine fields of a chain run over a
    // buffer of w x h for an image of width x height.
    static void FillKernelHeader(MP_Params* P, unsigned width, unsigned height, int w, int h);

    static constexpr int PP_BUSY = -100;

    static unsigned short* _s_pusBuffer;
    static QSize _s_Size;
    static unsigned short* _s_pusPreviewBuffer;
    static QSize _s_PreviewSize;

private:
    // The values of film row m_iFilmTyp, taken by SetProcessData; false when
    // the row lies outside the table (no film pass).
    float m_pfFilmRow[PP_FILMTYPE_VALUES] = {};
    int m_iFilmRow = 0;
    bool m_bFilmRowValid = false;

    void TakeFilmRow();

    int RunChain(unsigned width, unsigned height, bool preview, bool mainRun);
    int ProcessOperator(int i, unsigned width, unsigned height, unsigned short* buffer, int w, int h, bool mainRun,
                        int n, int k, MP_Params* P);
    bool KernelForcesCPU(const char* kernel) const;
    // Forces-processor answer for the first (first = true) or last kernel
    // run of operator op; false when the operator runs no kernel.
    bool OperatorRunsKernel(const SOperator& op, bool first, bool* forces) const;
};

// ---- Film types --------------------------------------------------------------

struct SFilmType {
    QString name;
    float values[PP_FILMTYPE_VALUES] = {};
};

// The film-type table "filmtypes_lumivex.xml" beside the program.
class CFilmTypeTable {
public:
    // <application folder>/settings//filmtypes_lumivex.xml
    static QString DefaultPath();
    // Reads the table; logs "filmtypes: " with the names (and a parse error
    // line). A missing file gives an empty table without message.
    bool Load(const QString& path);
    bool LoadFromData(const QByteArray& data);

    QVector<SFilmType> m_vecTypes;
    QString m_strError;
    int m_iErrorLine = 0;
    int m_iErrorColumn = 0;
};

// ---- Operator catalogue ------------------------------------------------------

// One child element of a catalogue operator, in parameter order.
struct SCatalogueElement {
    QString kind;            // "slider", "position", "line", "spline", "color", "combo", "geometry"
    int parameterType = 0;   // EParameterType
    bool shown = true;       // visible "1" and version below 4
    QHash<QString, QString> attributes; // every attribute as written
    QString Attribute(const QString& key) const { return attributes.value(key); }
    // Translated in context "PPOperators.xml" (name, tooltip, low, high, style).
    QString Translated(const QString& key) const;
};

struct SCatalogueEntry {
    SOperator op;                          // the entry (parameter list empty)
    QString typeString;                    // the "type" attribute as written
    QVector<SCatalogueElement> elements;   // parameter order
    QVarLengthArray<SParameter, PP_MAX_PARAMETERS> parameterTemplate; // initial parameters
};

class CPPOperatorCatalogue {
public:
    static QString ResourcePath() { return QStringLiteral(":/operators/PPOperators.xml"); }
    // Reads the catalogue; marks the texture slots of texture sliders needed.
    // false (empty catalogue) for a missing resource or a parse error, which
    // is logged as "ERROR in PPOperators.xml: ... at line L column C".
    bool Load(const QString& path = ResourcePath());
    bool LoadFromData(const QByteArray& data);

    static bool caseInsensitiveLessThan(const QString& a, const QString& b);
    // Type code of a type string, -1 for none of the seven.
    static int TypeCode(const QString& type);
    // Initial value of a slider: its centre as a fraction of its range.
    static float SliderCenterFraction(int min, int max, float defaultFraction);
    // The spline picker's preset block (six knots) for a kind and preset
    // (1..10); false for a kind or preset outside the table.
    static bool SplinePreset(unsigned kind, unsigned preset, float values[12]);

    // Catalogue index of the entry with this id; -1 when none has it.
    int IndexOfId(unsigned id) const;
    // A chain operator made from entry `index` with the template values.
    SOperator MakeOperator(int index) const;

    QVector<SCatalogueEntry> m_vecEntries;   // accepted operators, file order
    int m_iOperatorElements = 0;             // operator elements in the file
    QStringList m_TypeOrder;                 // type strings, order of first appearance
    QMap<QString, QVector<int>> m_TypeGroups; // type string -> indices, sorted by name
    QString m_strError;
    int m_iErrorLine = 0;
    int m_iErrorColumn = 0;
};

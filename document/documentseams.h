#pragma once
// What the document needs of the application, as small interfaces. The
// document knows no widget: the application registers implementations at
// start-up (the RAW development window, the HDR operator dock, the options and
// the options dialog for the settings; the progress guard for progress; the
// GUI-thread pixmap creator for pixmaps). Tests register the fakes of
// document/documentfakes.h. Every registry here is safe to use from any thread.

#include <QImage>
#include <QPixmap>
#include <QString>

// ---- Settings ---------------------------------------------------------------

// Everything the document reads of the RAW development window, as one
// snapshot. Sliders are given as their GetValueF() (0..1 over the slider's
// range). The defaults are the window's state after construction.
struct SRawDevelopmentSettings {
    // Scaling ("Skalierung"): percent of the pixel count; method index 0..5.
    double dScalePercent = 100.0;
    int iScaleMethod = 4;

    // "Farbraum": index into the colour-space tables (see ColorSpaceIndex()).
    bool bColorSpaceGroup = false;
    int iColorSpace = 1;

    // "Weißabgleich": any negative temperature means automatic.
    bool bWhiteBalanceGroup = false;
    float fWhiteBalanceKelvin = -1.0f;

    // "Entrauschen": quality 0 normal, 1 hoch, 2 ultra; slider "Schärfe"
    // 1..100 standing at 25.
    bool bDenoiseGroup = false;
    int iDenoiseQuality = 0;
    float fDenoiseSharpness = 24.0f / 99.0f;
    bool bDenoiseDarkImages = true; // "dunkle Bilder stärker entrauschen"
    bool bHotPixel = false;         // "Hotpixel korrigieren"

    // "Optimierung der Belichtung".
    bool bOptimizeGroup = false;
    bool bOptimizeExposure = true;    // "Belichtung optimieren"
    bool bOptimizeDarkColors = false; // "dunkle Bereiche farblich optimieren"

    // "Ausrichtung": quality 0..3; accuracy slider 1..100 at 50, search
    // radius 0..100 at 50.
    bool bAlignGroup = false;
    int iAlignQuality = 1;
    bool bAlignShift = false;        // "Verschiebung korrigieren"
    bool bAlignRotation = false;     // "Kamerarotation korrigieren"
    bool bAlignZoom = false;         // "Kamerazoom korrigieren"
    bool bAlignMotion = false;       // "Bewegung/ Scherung/ Drehung korrigieren"
    bool bAlignMicroDetails = false; // "Mikrodetails korrigieren"
    bool bGeneticAlgorithm = false;
    bool bAutoCrop = false;
    float fAlignAccuracy = 49.0f / 99.0f;
    float fAlignSearchRadius = 0.5f;
    int iInterpolation = 0;

    // "Geisterbildkorrektur": strength slider 1..100 at 50.
    bool bDeGhostGroup = false;
    bool bLocalMTB = true;
    float fDeGhostStrength = 49.0f / 99.0f;

    // The colour-space index, 0 when outside the 16 tabled spaces.
    int ColorSpaceIndex() const { return (iColorSpace < 0 || iColorSpace > 15) ? 0 : iColorSpace; }
    bool AutomaticWhiteBalance() const { return !(fWhiteBalanceKelvin >= 0.0f); }
};

// One snapshot of every setting the document reads, taken once per operation.
struct SDocumentSettings {
    SRawDevelopmentSettings raw;
    float fSigmoid = 0.5f;         // HDR operator dock's sigmoid slider, GetValueF()
    bool bPreviewMode = false;     // COptions::m_bPreviewMode
    bool bHDRGammaDisplay = false; // "HDR-Gamma in der Bildanzeige"
};

// Implemented by the RAW development window.
class IRawDevelopmentSource {
public:
    virtual ~IRawDevelopmentSource() = default;
    virtual SRawDevelopmentSettings GetRawDevelopmentSettings() const = 0;
};

// Implemented by the HDR operator dock.
class ISigmoidSource {
public:
    virtual ~ISigmoidSource() = default;
    virtual float GetSigmoidValue() const = 0;
};

// Implemented by the options (COptions::m_bPreviewMode).
class IPreviewModeSource {
public:
    virtual ~IPreviewModeSource() = default;
    virtual bool GetPreviewMode() const = 0;
    virtual void SetPreviewMode(bool preview) = 0;
};

// Implemented by the options dialog ("HDR-Gamma in der Bildanzeige").
class IDisplayGammaSource {
public:
    virtual ~IDisplayGammaSource() = default;
    virtual bool GetHDRGammaDisplay() const = 0;
};

class CDocumentSettings {
public:
    // Each returns the previous source; nullptr removes it. A missing source
    // gives the defaults of SDocumentSettings (the preview flag is then kept
    // here).
    static IRawDevelopmentSource* SetRawDevelopmentSource(IRawDevelopmentSource* source);
    static ISigmoidSource* SetSigmoidSource(ISigmoidSource* source);
    static IPreviewModeSource* SetPreviewModeSource(IPreviewModeSource* source);
    static IDisplayGammaSource* SetDisplayGammaSource(IDisplayGammaSource* source);

    static SDocumentSettings Snapshot();
    static SRawDevelopmentSettings RawDevelopment();
    static bool PreviewMode();
    static void SetPreviewMode(bool preview);
    static bool HDRGammaDisplay();
};

// ---- Progress ---------------------------------------------------------------

// The progress guard's statics (HDRProgressThread::OpenCategory, SetTitle,
// AddMessage). The application forwards these onto the guard; message types:
// 0 normal, 1 notice, 2 error; fraction 0..1 or -1 for none.
class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    virtual void OpenCategory(unsigned int category, bool lock) = 0;
    virtual void SetTitle(const QString& title) = 0;
    virtual void AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction) = 0;
    virtual void AddFraction(unsigned int category, float fraction) = 0;
};

// Thread-safe forwarder: posts from any thread reach the registered sink; with
// none registered they go nowhere.
class CDocumentProgress {
public:
    static IProgressSink* SetSink(IProgressSink* sink);
    static void OpenCategory(unsigned int category, bool lock);
    static void SetTitle(const QString& title);
    static void AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction = -1.0f);
    static void AddFraction(unsigned int category, float fraction);
};

// ---- Pixmaps ----------------------------------------------------------------

// QImage -> QPixmap from any thread: the application's GUI-thread pixmap
// creator implements it.
class IPixmapHandOff {
public:
    virtual ~IPixmapHandOff() = default;
    virtual QPixmap ToPixmap(const QImage& image) = 0;
};

class CPixmapHandOff {
public:
    static IPixmapHandOff* SetHandOff(IPixmapHandOff* handOff);
    // With no hand-off registered the image is converted directly (tests).
    static QPixmap ToPixmap(const QImage& image);
};

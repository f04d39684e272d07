#pragma once
// Stand-ins for the application side of the document's seams, for tests of
// every layer: settings with public values, a progress recorder, and a kernel
// recorder that notes every run (name, sizes, a copy of the block) and can
// pass it on to the dispatcher. Each installs itself on construction and
// restores what was installed before on destruction.

#include "document/documentseams.h"
#include "document/kernelrunner.h"
#include "engine/core/mp_params.h"

#include <QString>

#include <mutex>
#include <string>
#include <vector>

class CFakeDocumentSettings : public IRawDevelopmentSource,
                              public ISigmoidSource,
                              public IPreviewModeSource,
                              public IDisplayGammaSource {
public:
    CFakeDocumentSettings();
    ~CFakeDocumentSettings() override;

    SDocumentSettings values;

    SRawDevelopmentSettings GetRawDevelopmentSettings() const override { return values.raw; }
    float GetSigmoidValue() const override { return values.fSigmoid; }
    bool GetPreviewMode() const override { return values.bPreviewMode; }
    void SetPreviewMode(bool preview) override { values.bPreviewMode = preview; }
    bool GetHDRGammaDisplay() const override { return values.bHDRGammaDisplay; }

private:
    IRawDevelopmentSource* m_pPrevRaw;
    ISigmoidSource* m_pPrevSigmoid;
    IPreviewModeSource* m_pPrevPreview;
    IDisplayGammaSource* m_pPrevGamma;
};

class CProgressRecorder : public IProgressSink {
public:
    enum EKind { eOpenCategory, eSetTitle, eMessage, eFraction };
    struct SEntry {
        EKind kind;
        unsigned int category;
        QString text; // title or message
        unsigned int type;
        float fraction;
        bool lock;
    };

    CProgressRecorder();
    ~CProgressRecorder() override;

    void OpenCategory(unsigned int category, bool lock) override;
    void SetTitle(const QString& title) override;
    void AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction) override;
    void AddFraction(unsigned int category, float fraction) override;

    std::vector<SEntry> Entries() const;
    // The texts of the messages (eMessage entries) in order.
    std::vector<QString> Messages() const;
    bool HasMessage(const QString& text, unsigned int category, unsigned int type) const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<SEntry> m_entries;
    IProgressSink* m_pPrevious;
};

class CKernelRecorder : public IKernelExecutor {
public:
    struct SRun {
        std::string name;
        unsigned width, height;
        const void* src;
        const void* dst;
        unsigned srcBpp, dstBpp;
        MP_Params params; // copy of the block as passed
        int category;
        float progressStart, progressDelta;
        bool upload, download;
    };

    // passThrough: after recording, run the kernel through the dispatcher.
    explicit CKernelRecorder(bool passThrough = false);
    ~CKernelRecorder() override;

    int ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst, unsigned srcBpp,
                      unsigned dstBpp, MP_Params* params, int category, float progressStart, float progressDelta,
                      bool uploadSource, bool downloadResult) override;

    std::vector<SRun> Runs() const;
    std::vector<std::string> Names() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<SRun> m_runs;
    bool m_bPassThrough;
    IKernelExecutor* m_pPrevious;
};

#include "document/documentfakes.h"

#include "engine/openclmanager.h"

CFakeDocumentSettings::CFakeDocumentSettings()
    : m_pPrevRaw(CDocumentSettings::SetRawDevelopmentSource(this)),
      m_pPrevSigmoid(CDocumentSettings::SetSigmoidSource(this)),
      m_pPrevPreview(CDocumentSettings::SetPreviewModeSource(this)),
      m_pPrevGamma(CDocumentSettings::SetDisplayGammaSource(this))
{
}

CFakeDocumentSettings::~CFakeDocumentSettings()
{
    CDocumentSettings::SetRawDevelopmentSource(m_pPrevRaw);
    CDocumentSettings::SetSigmoidSource(m_pPrevSigmoid);
    CDocumentSettings::SetPreviewModeSource(m_pPrevPreview);
    CDocumentSettings::SetDisplayGammaSource(m_pPrevGamma);
}

CProgressRecorder::CProgressRecorder() : m_pPrevious(CDocumentProgress::SetSink(this)) {}

CProgressRecorder::~CProgressRecorder()
{
    CDocumentProgress::SetSink(m_pPrevious);
}

void CProgressRecorder::OpenCategory(unsigned int category, bool lock)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_entries.push_back({eOpenCategory, category, QString(), 0, -1.0f, lock});
}

void CProgressRecorder::SetTitle(const QString& title)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_entries.push_back({eSetTitle, 0, title, 0, -1.0f, false});
}

void CProgressRecorder::AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_entries.push_back({eMessage, category, text, type, fraction, false});
}

void CProgressRecorder::AddFraction(unsigned int category, float fraction)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_entries.push_back({eFraction, category, QString(), 0, fraction, false});
}

std::vector<CProgressRecorder::SEntry> CProgressRecorder::Entries() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_entries;
}

std::vector<QString> CProgressRecorder::Messages() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<QString> texts;
    for (const SEntry& e : m_entries)
        if (e.kind == eMessage)
            texts.push_back(e.text);
    return texts;
}

bool CProgressRecorder::HasMessage(const QString& text, unsigned int category, unsigned int type) const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    for (const SEntry& e : m_entries)
        if (e.kind == eMessage && e.text == text && e.category == category && e.type == type)
            return true;
    return false;
}

void CProgressRecorder::Clear()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_entries.clear();
}

CKernelRecorder::CKernelRecorder(bool passThrough)
    : m_bPassThrough(passThrough), m_pPrevious(CKernelRunner::SetExecutor(this))
{
}

CKernelRecorder::~CKernelRecorder()
{
    CKernelRunner::SetExecutor(m_pPrevious);
}

int CKernelRecorder::ExecuteKernel(const char* name, unsigned width, unsigned height, float* src, float* dst,
                                   unsigned srcBpp, unsigned dstBpp, MP_Params* params, int category,
                                   float progressStart, float progressDelta, bool uploadSource, bool downloadResult)
{
    {
        SRun run{};
        run.name = name ? name : "";
        run.width = width;
        run.height = height;
        run.src = src;
        run.dst = dst;
        run.srcBpp = srcBpp;
        run.dstBpp = dstBpp;
        if (params)
            run.params = *params;
        run.category = category;
        run.progressStart = progressStart;
        run.progressDelta = progressDelta;
        run.upload = uploadSource;
        run.download = downloadResult;
        std::lock_guard<std::mutex> guard(m_mutex);
        m_runs.push_back(run);
    }
    if (!m_bPassThrough)
        return 0;
    return OpenCLManager::getInstance()->executeKernel(name, width, height, src, dst, srcBpp, dstBpp, params,
                                                       category, progressStart, progressDelta, uploadSource,
                                                       downloadResult);
}

std::vector<CKernelRecorder::SRun> CKernelRecorder::Runs() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_runs;
}

std::vector<std::string> CKernelRecorder::Names() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    std::vector<std::string> names;
    for (const SRun& r : m_runs)
        names.push_back(r.name);
    return names;
}

void CKernelRecorder::Clear()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_runs.clear();
}

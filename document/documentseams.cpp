#include "document/documentseams.h"

#include <mutex>
#include <shared_mutex>

namespace {

// Settings sources are registered on the GUI thread at start-up; the lock
// keeps a late registration and a reading worker apart.
std::recursive_mutex g_settingsMutex;
IRawDevelopmentSource* g_rawSource = nullptr;
ISigmoidSource* g_sigmoidSource = nullptr;
IPreviewModeSource* g_previewSource = nullptr;
IDisplayGammaSource* g_gammaSource = nullptr;
bool g_previewModeFallback = false;

// Posts hold the lock shared, so a sink is never removed under a post.
std::shared_mutex g_progressMutex;
IProgressSink* g_progressSink = nullptr;

std::shared_mutex g_pixmapMutex;
IPixmapHandOff* g_pixmapHandOff = nullptr;

template <typename T> T* exchange(T*& slot, T* value)
{
    std::lock_guard<std::recursive_mutex> lock(g_settingsMutex);
    T* previous = slot;
    slot = value;
    return previous;
}

} // namespace

IRawDevelopmentSource* CDocumentSettings::SetRawDevelopmentSource(IRawDevelopmentSource* source)
{
    return exchange(g_rawSource, source);
}

ISigmoidSource* CDocumentSettings::SetSigmoidSource(ISigmoidSource* source)
{
    return exchange(g_sigmoidSource, source);
}

IPreviewModeSource* CDocumentSettings::SetPreviewModeSource(IPreviewModeSource* source)
{
    return exchange(g_previewSource, source);
}

IDisplayGammaSource* CDocumentSettings::SetDisplayGammaSource(IDisplayGammaSource* source)
{
    return exchange(g_gammaSource, source);
}

SDocumentSettings CDocumentSettings::Snapshot()
{
    std::lock_guard<std::recursive_mutex> lock(g_settingsMutex);
    SDocumentSettings s;
    if (g_rawSource)
        s.raw = g_rawSource->GetRawDevelopmentSettings();
    if (g_sigmoidSource)
        s.fSigmoid = g_sigmoidSource->GetSigmoidValue();
    s.bPreviewMode = g_previewSource ? g_previewSource->GetPreviewMode() : g_previewModeFallback;
    if (g_gammaSource)
        s.bHDRGammaDisplay = g_gammaSource->GetHDRGammaDisplay();
    return s;
}

SRawDevelopmentSettings CDocumentSettings::RawDevelopment()
{
    std::lock_guard<std::recursive_mutex> lock(g_settingsMutex);
    return g_rawSource ? g_rawSource->GetRawDevelopmentSettings() : SRawDevelopmentSettings();
}

bool CDocumentSettings::PreviewMode()
{
    std::lock_guard<std::recursive_mutex> lock(g_settingsMutex);
    return g_previewSource ? g_previewSource->GetPreviewMode() : g_previewModeFallback;
}

void CDocumentSettings::SetPreviewMode(bool preview)
{
    std::lock_guard<std::recursive_mutex> lock(g_settingsMutex);
    if (g_previewSource)
        g_previewSource->SetPreviewMode(preview);
    else
        g_previewModeFallback = preview;
}

bool CDocumentSettings::HDRGammaDisplay()
{
    std::lock_guard<std::recursive_mutex> lock(g_settingsMutex);
    return g_gammaSource ? g_gammaSource->GetHDRGammaDisplay() : false;
}

IProgressSink* CDocumentProgress::SetSink(IProgressSink* sink)
{
    std::unique_lock<std::shared_mutex> lock(g_progressMutex);
    IProgressSink* previous = g_progressSink;
    g_progressSink = sink;
    return previous;
}

void CDocumentProgress::OpenCategory(unsigned int category, bool lockCategory)
{
    std::shared_lock<std::shared_mutex> lock(g_progressMutex);
    if (g_progressSink)
        g_progressSink->OpenCategory(category, lockCategory);
}

void CDocumentProgress::SetTitle(const QString& title)
{
    std::shared_lock<std::shared_mutex> lock(g_progressMutex);
    if (g_progressSink)
        g_progressSink->SetTitle(title);
}

void CDocumentProgress::AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction)
{
    std::shared_lock<std::shared_mutex> lock(g_progressMutex);
    if (g_progressSink)
        g_progressSink->AddMessage(category, text, type, fraction);
}

void CDocumentProgress::AddFraction(unsigned int category, float fraction)
{
    std::shared_lock<std::shared_mutex> lock(g_progressMutex);
    if (g_progressSink)
        g_progressSink->AddFraction(category, fraction);
}

IPixmapHandOff* CPixmapHandOff::SetHandOff(IPixmapHandOff* handOff)
{
    std::unique_lock<std::shared_mutex> lock(g_pixmapMutex);
    IPixmapHandOff* previous = g_pixmapHandOff;
    g_pixmapHandOff = handOff;
    return previous;
}

QPixmap CPixmapHandOff::ToPixmap(const QImage& image)
{
    std::shared_lock<std::shared_mutex> lock(g_pixmapMutex);
    if (g_pixmapHandOff)
        return g_pixmapHandOff->ToPixmap(image);
    return QPixmap::fromImage(image);
}

#include "ui/views/viewrender.h"

#include "document/kernelrunner.h"
#include "ui/mainwindow/hdrpixmapcreator.h"
#include "ui/views/viewhost.h"

namespace {
IViewHost* g_pViewHost = nullptr;
}

void ViewSeams::SetHost(IViewHost* host) { g_pViewHost = host; }
IViewHost* ViewSeams::Host() { return g_pViewHost; }

bool CViewRenderGate::Run(std::function<void()> work)
{
    m_Work = std::move(work);
    if (m_bPending)
        return false;
    QPointer<QObject> owner = m_pOwner;
    CViewRenderGate* self = this;
    const bool ran = CEngineGuard::RunOrDefer([owner, self] {
        if (!owner)
            return;
        self->m_bPending = false;
        std::function<void()> w = std::move(self->m_Work);
        self->m_Work = nullptr;
        if (w)
            w();
    });
    if (!ran)
        m_bPending = true;
    return ran;
}

QPixmap ViewPixmap(const unsigned int* argb, int width, int height)
{
    if (!argb || width <= 0 || height <= 0)
        return QPixmap();
    QImage image(reinterpret_cast<const uchar*>(argb), width, height, static_cast<qsizetype>(width) * 4,
                 QImage::Format_ARGB32);
    HDRPixmapCreator creator(&image);
    return creator.m_Pixmap;
}

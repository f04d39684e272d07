#include "app/progresssink.h"

#include "ui/toolkit/hdrprogresswindow.h"

void CProgressGuardSink::OpenCategory(unsigned int category, bool lock)
{
    HDRProgressThread::OpenCategory(category, lock);
}

void CProgressGuardSink::SetTitle(const QString& title) { HDRProgressThread::SetTitle(title); }

void CProgressGuardSink::AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction)
{
    HDRProgressThread::AddMessage(category, text, type, fraction);
}

void CProgressGuardSink::AddFraction(unsigned int category, float fraction)
{
    HDRProgressThread::AddMessage(category, fraction);
}

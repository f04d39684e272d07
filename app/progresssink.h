#pragma once
// The document's progress posts, forwarded onto the progress guard of the
// toolkit (which ignores them while no guard is open).

#include "document/documentseams.h"

class CProgressGuardSink : public IProgressSink {
public:
    void OpenCategory(unsigned int category, bool lock) override;
    void SetTitle(const QString& title) override;
    void AddMessage(unsigned int category, const QString& text, unsigned int type, float fraction) override;
    void AddFraction(unsigned int category, float fraction) override;
};

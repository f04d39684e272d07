#include "ui/toolkit/styleengine.h"

CStyleEngine& CStyleEngine::instance()
{
    static CStyleEngine engine;
    return engine;
}

QString CStyleEngine::ReplaceStyleSheetCodes(const QString& sheet) const
{
    return sheet;
}

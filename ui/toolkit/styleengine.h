#pragma once
// The style engine: the single store of the current style (style code, free
// colour, border flag) and the replacement of style tokens such as
// "#STYLE_BACKGROUND+3" or "STYLE_BORDERRADIUS" in style sheets.
// HDRMainWindow's style members and methods forward to it.

#include <QString>

class CStyleEngine {
public:
    static CStyleEngine& instance();

    // Replaces every style token of the sheet with the current style's value.
    QString ReplaceStyleSheetCodes(const QString& sheet) const;

private:
    CStyleEngine() = default;
};

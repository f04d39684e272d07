#pragma once
// The style engine: the single store of the current style (style code, free
// colour, border flag) and the replacement of style tokens such as
// "#STYLE_BACKGROUND+3" or "STYLE_BORDERRADIUS" in style sheets.
// HDRMainWindow's style members and methods forward to it.
//
// Style codes 0..6 select a fixed palette, 99 derives the palette from the
// style colour; any other code leaves sheets untouched. Every replacement
// under a known code also hands the palette's drawing colours to the engine.
//
// The style is kept in "stylecode.ini" in the user settings folder (keys
// "stylecode", "stylecolor", "styleborder").

#include <QString>

class QWidget;

class CStyleEngine {
public:
    static constexpr int kFreeStyleCode = 99;
    // Values of a missing "stylecode.ini".
    static constexpr int kDefaultStyleCode = 1;
    static constexpr int kDefaultStyleColor = 0x5f5f5f;
    static constexpr bool kDefaultStyleBorder = true;

    static CStyleEngine& instance();

    // Replaces every style token of the sheet with the current style's value.
    QString ReplaceStyleSheetCodes(const QString& sheet) const;
    // The free-colour palette for (red, green, blue) and the border flag.
    QString ReplaceStyleSheetCodefromColor(const QString& sheet, int red, int green, int blue, bool border) const;
    // Six lowercase hex digits of the colour with each channel scaled by factor.
    static QString RGBToHexString(int red, int green, int blue, float factor);

    // The current style.
    int StyleCode() const { return m_iStyleCode; }
    int StyleColor() const { return m_uiStyleColor; }
    bool StyleBorder() const { return m_bStyleBorder; }
    void SetStyle(int code, int colour, bool border);

    // "stylecode.ini": path, the three readers (each logs its value on
    // standard output) and the writer, which also sets the current style.
    static QString StyleIniPath();
    int StyleCodeFromFolderSettings() const;
    int StyleColorFromFolderSettings() const;
    bool StyleBorderFromFolderSettings() const;
    // Writes the three keys and takes them as the current style. Returns
    // false when the file could not be written (the style applies anyway).
    bool StyleCodeToFolderSettings(int code, int colour, bool border);
    // Reads code, colour and border (in this order) into the current style.
    void LoadStyleFromFolderSettings();

    // The program's main sheet (":/styles/style.css") with the tokens
    // replaced; null when the resource cannot be read.
    QString MainStyleSheet() const;
    // Applies MainStyleSheet() to the widget; false (widget unchanged) when
    // the resource cannot be read.
    bool SetStyleSheetFromCSS(QWidget* target) const;

private:
    CStyleEngine();

    int m_iStyleCode = kDefaultStyleCode;
    int m_uiStyleColor = kDefaultStyleColor;
    bool m_bStyleBorder = kDefaultStyleBorder;
};

// Every style token in replacement order (36), for callers that check that a
// sheet has none left.
const char* const* StyleTokenList(int* count);

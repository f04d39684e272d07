#include "ui/toolkit/styleengine.h"

#include "engine/MP_calc.h"
#include "platform/userpaths.h"
#include "ui/toolkit/resourceinit.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

#include <iostream>

namespace {

// Token families in the order the fixed palettes replace them; inside a family
// every suffixed form comes before the bare token, so the bare token never
// eats the start of a suffixed one.
enum TokenIndex {
    BG9, BG6, BG5, BG4, BG3, BG2, BG1, BG,
    BC3, BC2, BC1, BC,
    BOX1, BOXm1, BOX,
    BRm3, BRm2, BRm1, BR1, BR,
    PROBAR,
    TXm9, TXm8, TXm4, TXm1, TX1, TX2, TX,
    SEL,
    MCm2, MCm1, MC1, MC2, MC3, MC5, MC,
    kTokenCount
};

const char* const kTokens[kTokenCount] = {
    "STYLE_BACKGROUND+9", "STYLE_BACKGROUND+6", "STYLE_BACKGROUND+5", "STYLE_BACKGROUND+4",
    "STYLE_BACKGROUND+3", "STYLE_BACKGROUND+2", "STYLE_BACKGROUND+1", "STYLE_BACKGROUND",
    "STYLE_BORDERCOLOR+3", "STYLE_BORDERCOLOR+2", "STYLE_BORDERCOLOR+1", "STYLE_BORDERCOLOR",
    "STYLE_BOXCOLOR+1", "STYLE_BOXCOLOR-1", "STYLE_BOXCOLOR",
    "STYLE_BORDERRADIUS-3", "STYLE_BORDERRADIUS-2", "STYLE_BORDERRADIUS-1", "STYLE_BORDERRADIUS+1",
    "STYLE_BORDERRADIUS",
    "STYLE_PROBARTEXTCOL",
    "STYLE_TEXTCOLOR-9", "STYLE_TEXTCOLOR-8", "STYLE_TEXTCOLOR-4", "STYLE_TEXTCOLOR-1",
    "STYLE_TEXTCOLOR+1", "STYLE_TEXTCOLOR+2", "STYLE_TEXTCOLOR",
    "STYLE_SELECTCOLOR",
    "STYLE_MAINCOLOR-2", "STYLE_MAINCOLOR-1", "STYLE_MAINCOLOR+1", "STYLE_MAINCOLOR+2",
    "STYLE_MAINCOLOR+3", "STYLE_MAINCOLOR+5", "STYLE_MAINCOLOR",
};

struct SFixedPalette {
    const char* values[kTokenCount];
    int background;
    float highlightOpacity;
    int line;
    int fill;
    int border;
};

// The seven fixed palettes, values in token order.
const SFixedPalette kPalettes[7] = {
    // 0: dark grey, blue-grey accent
    {{"bebebe", "8e8e8e", "7e7e7e", "6e6e6e", "5e5e5e", "4e4e4e", "3e3e3e", "2e2e2e",
      "3f3f3f", "2f2f2f", "1f1f1f", "0f0f0f",
      "5e5e5e", "3e3e3e", "4e4e4e",
      "2px", "3px", "4px", "6px", "5px",
      "dfdfff",
      "414141", "515151", "919191", "c1c1c1", "e1e1e1", "f1f1f1", "d1d1d1",
      "8f8f9f",
      "6f6f7f", "7f7f8f", "9f9faf", "afafbf", "bfbfcf", "dfdfff", "8f8f9f"},
     0x3e3e3e, 0.09f, 0xbfbfbf, 0xafafbf, 0x4f4f4f},
    // 1: dark, olive accent
    {{"9e9e99", "6e6e69", "5e5e59", "4e4e49", "3e3e39", "2e2e29", "1e1e19", "0e0e09",
      "2f2f29", "272721", "1f1f19", "171711",
      "2e2e29", "1e1e19", "272721",
      "1px", "2px", "2px", "6px", "3px",
      "e1e1d7",
      "41413b", "51514b", "91918b", "c1c1bb", "e1e1db", "f1f1eb", "d1d1cb",
      "8f8f7f",
      "4f4f3f", "5f5f4f", "7f7f6f", "8f8f7f", "9f9f8f", "bfbfaf", "6f6f5f"},
     0x1e1e1e, 0.09f, 0x9f9f8f, 0x9f9f9f, 0x2f2f2f},
    // 2: dark, neutral
    {{"9e9e9e", "6e6e6e", "5e5e5e", "4e4e4e", "3e3e3e", "2e2e2e", "1e1e1e", "0e0e0e",
      "2f2f2f", "272727", "1f1f1f", "171717",
      "2e2e2e", "1e1e1e", "272727",
      "2px", "3px", "4px", "6px", "5px",
      "e1e1e1",
      "414141", "515151", "919191", "c1c1c1", "e1e1e1", "f1f1f1", "d1d1d1",
      "8f8f7f",
      "4f4f4f", "5f5f5f", "7f7f7f", "8f8f8f", "9f9f9f", "bfbfbf", "6f6f6f"},
     0x1e1e1e, 0.09f, 0x9f9f9f, 0x9f9f9f, 0x2f2f2f},
    // 3: light grey
    {{"fefefe", "eeeeee", "dedede", "cecece", "bebebe", "aeaeae", "9e9e9e", "8e8e8e",
      "7f7f7f", "6f6f6f", "5f5f5f", "4f4f4f",
      "eeeeee", "dedede", "cecece",
      "0px", "1px", "1px", "6px", "2px",
      "212121",
      "070707", "0f0f0f", "171717", "1f1f1f", "2f2f2f", "373737", "272727",
      "3f3f3f",
      "bfbfbf", "c7c7c7", "d7d7d7", "dfdfdf", "efefef", "ffffff", "cfcfcf"},
     0x9e9e9e, 0.22f, 0x5f5f5f, 0x7f7f7f, 0x3f3f3f},
    // 4: dark blue
    {{"9e9eae", "6e6e7e", "5e5e6e", "4e4e5e", "3e3e4e", "2e2e3e", "1e1e2e", "0e0e1e",
      "2f2f3f", "272737", "1f1f2f", "171727",
      "2e2e3e", "1e1e2e", "272737",
      "2px", "3px", "4px", "6px", "5px",
      "e1e1f1",
      "414151", "515161", "9191a1", "c1c1d1", "e1e1f1", "f1f1ff", "d1d1e1",
      "8f8f9f",
      "4f4f5f", "5f5f6f", "7f7f8f", "8f8f9f", "9f9faf", "bfbfcf", "6f6f7f"},
     0x1e1e2e, 0.09f, 0x9f9faf, 0x9f9f9f, 0x2f2f2f},
    // 5: dark red
    {{"aea7a7", "7e7777", "6e6767", "5e5757", "4e4747", "3e3737", "2e2727", "1e1717",
      "3f3737", "372f2f", "2f2727", "271f1f",
      "3e3737", "2e2727", "372f2f",
      "0px", "1px", "1px", "6px", "2px",
      "f1e7e7",
      "514747", "615757", "a19797", "d1c7c7", "f1e7e7", "fff7f7", "e1d7d7",
      "9f9797",
      "5f5757", "6f6767", "8f8787", "9f9797", "afa7a7", "cfc7c7", "7f7777"},
     0x2e2727, 0.09f, 0xaf9f9f, 0x9f9f9f, 0x2f2f2f},
    // 6: dark brown
    {{"aea79e", "7e776e", "6e675e", "5e574e", "4e473e", "3e372e", "2e271e", "1e170e",
      "3f372e", "372f27", "2f271e", "271f17",
      "3e372f", "2e271f", "372f27",
      "2px", "3px", "4px", "6px", "5px",
      "f1e7df",
      "51473f", "61574f", "a1978f", "d1c7bf", "f1e7df", "fff7ef", "e1d7cf",
      "9f978f",
      "5f574f", "6f675f", "8f877f", "9f978f", "afa79f", "cfc7bf", "7f776f"},
     0x2e2727, 0.09f, 0xaf9f9f, 0x9f9f9f, 0x2f2f2f},
};

// Scale factors of the free-colour palette (dark, light) per colour token;
// unused for the radius tokens and the progress-bar text.
struct SFactor {
    float dark;
    float light;
};
const SFactor kFreeFactors[kTokenCount] = {
    {2.0f, 1.5f}, {1.3f, 1.4f}, {1.2f, 1.3f}, {1.0f, 1.2f}, {0.85f, 1.1f}, {0.65f, 1.0f}, {0.45f, 0.9f},
    {0.2f, 0.8f},
    {0.65f, 0.8f}, {0.55f, 0.7f}, {0.45f, 0.6f}, {0.35f, 0.5f},
    {0.6f, 1.3f}, {0.4f, 1.1f}, {0.5f, 1.2f},
    {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0},
    {0, 0},
    {1.5f, 0.1f}, {1.7f, 0.15f}, {2.5f, 0.25f}, {3.1f, 0.35f}, {3.5f, 0.45f}, {3.7f, 0.5f}, {3.3f, 0.4f},
    {1.8f, 1.8f},
    {1.0f, 1.1f}, {1.1f, 1.2f}, {1.3f, 1.4f}, {1.4f, 1.5f}, {1.5f, 1.6f}, {1.7f, 1.8f}, {1.2f, 1.3f},
};

const char* const kRadiusBorder[5] = {"4px", "5px", "5px", "6px", "6px"};
const char* const kRadiusSquare[5] = {"0px", "0px", "1px", "6px", "1px"};

void replaceRange(QString& text, int first, int last, const char* const* values)
{
    for (int i = first; i <= last; ++i)
        text.replace(QLatin1String(kTokens[i]), QLatin1String(values[i - first]), Qt::CaseSensitive);
}

int channelScaled(int channel, float factor)
{
    const float product = static_cast<float>(channel) * factor;
    if (!(product > 0.0f))
        return 0; // negative, zero and NaN
    if (product >= 255.0f)
        return 255;
    return static_cast<int>(product);
}

} // namespace

const char* const* StyleTokenList(int* count)
{
    if (count)
        *count = kTokenCount;
    return kTokens;
}

CStyleEngine::CStyleEngine()
{
    LumivexInitResources();
}

CStyleEngine& CStyleEngine::instance()
{
    static CStyleEngine engine;
    return engine;
}

void CStyleEngine::SetStyle(int code, int colour, bool border)
{
    m_iStyleCode = code;
    m_uiStyleColor = colour;
    m_bStyleBorder = border;
}

QString CStyleEngine::RGBToHexString(int red, int green, int blue, float factor)
{
    const int value = channelScaled(red, factor) * 65536 + channelScaled(green, factor) * 256 + channelScaled(blue, factor);
    return QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0'));
}

QString CStyleEngine::ReplaceStyleSheetCodes(const QString& sheet) const
{
    const int code = m_iStyleCode;
    if (code == kFreeStyleCode) {
        const int colour = m_uiStyleColor;
        return ReplaceStyleSheetCodefromColor(sheet, (colour >> 16) & 0xff, (colour >> 8) & 0xff, colour & 0xff,
                                              m_bStyleBorder);
    }
    if (code < 0 || code > 6)
        return sheet;

    const SFixedPalette& p = kPalettes[code];
    QString text = sheet;
    replaceRange(text, BG9, BG, p.values + BG9);
    MP_UI_SetBackgroundColor(p.background);
    MP_UI_SetHighlightColor(0xffffff);
    MP_UI_SetHighlightOpacity(p.highlightOpacity);
    replaceRange(text, BC3, BC, p.values + BC3);
    MP_UI_SetLineColor(p.line);
    MP_UI_SetFillColor(p.fill);
    MP_UI_SetBorderColor(p.border);
    replaceRange(text, BOX1, BOX, p.values + BOX1);
    replaceRange(text, BRm3, BR, p.values + BRm3);
    replaceRange(text, PROBAR, PROBAR, p.values + PROBAR);
    replaceRange(text, TXm9, TX, p.values + TXm9);
    replaceRange(text, SEL, SEL, p.values + SEL);
    replaceRange(text, MCm2, MC, p.values + MCm2);
    return text;
}

QString CStyleEngine::ReplaceStyleSheetCodefromColor(const QString& sheet, int red, int green, int blue,
                                                     bool border) const
{
    const int d = (red + green + blue) / 3;
    const bool light = d > 127;
    QString text = sheet;

    auto colourRange = [&](int first, int last, bool grey) {
        for (int i = first; i <= last; ++i) {
            const float factor = light ? kFreeFactors[i].light : kFreeFactors[i].dark;
            const QString value = grey ? RGBToHexString(d, d, d, factor) : RGBToHexString(red, green, blue, factor);
            text.replace(QLatin1String(kTokens[i]), value, Qt::CaseSensitive);
        }
    };

    colourRange(BG9, BG, false);
    if (light) {
        MP_UI_SetBackgroundColor(((red & 0xff) << 16) | ((green & 0xff) << 8) | (blue & 0xff));
    } else {
        MP_UI_SetBackgroundColor((((red >> 1) & 0xff) << 16) | (((green >> 1) & 0xff) << 8) | ((blue >> 1) & 0xff));
    }
    MP_UI_SetHighlightColor(0xffffff);
    MP_UI_SetHighlightOpacity(0.09f);
    colourRange(BC3, BC, false);
    MP_UI_SetLineColor(light ? 0x5f5f5f : 0xafafaf);
    MP_UI_SetFillColor(light ? 0x7f7f7f : 0x9f9f9f);
    MP_UI_SetBorderColor(light ? 0x3f3f3f : 0x2f2f2f);
    colourRange(BOX1, BOX, false);
    text.replace(QLatin1String(kTokens[PROBAR]), QLatin1String(light ? "212121" : "f1e7df"), Qt::CaseSensitive);
    colourRange(TXm9, TX, true);
    colourRange(SEL, SEL, false);
    colourRange(MCm2, MC, false);
    replaceRange(text, BRm3, BR, border ? kRadiusBorder : kRadiusSquare);
    return text;
}

QString CStyleEngine::StyleIniPath()
{
    return lumivex::platform::userSettingsFolder() + QStringLiteral("stylecode.ini");
}

namespace {
QVariant readStyleKey(const char* key, bool* fileMissing)
{
    const QString path = CStyleEngine::StyleIniPath();
    *fileMissing = !QFileInfo::exists(path);
    if (*fileMissing)
        return QVariant();
    QSettings settings(path, QSettings::IniFormat);
    return settings.value(QLatin1String(key), QVariant());
}
} // namespace

int CStyleEngine::StyleCodeFromFolderSettings() const
{
    bool missing = false;
    const QVariant v = readStyleKey("stylecode", &missing);
    const int value = missing ? kDefaultStyleCode : v.toInt();
    std::cout << "StyleCodeFromFolderSettings: " << value << std::endl;
    return value;
}

int CStyleEngine::StyleColorFromFolderSettings() const
{
    bool missing = false;
    const QVariant v = readStyleKey("stylecolor", &missing);
    const int value = missing ? kDefaultStyleColor : v.toInt();
    std::cout << "StyleColorFromFolderSettings: " << value << std::endl;
    return value;
}

bool CStyleEngine::StyleBorderFromFolderSettings() const
{
    bool missing = false;
    const QVariant v = readStyleKey("styleborder", &missing);
    const bool value = missing ? kDefaultStyleBorder : v.toBool();
    std::cout << "StyleBorderFromFolderSettings: " << (value ? 1 : 0) << std::endl;
    return value;
}

bool CStyleEngine::StyleCodeToFolderSettings(int code, int colour, bool border)
{
    SetStyle(code, colour, border);
    lumivex::platform::ensureFolder(lumivex::platform::userSettingsFolder());
    QSettings settings(StyleIniPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("stylecode"), code);
    settings.setValue(QStringLiteral("stylecolor"), colour);
    settings.setValue(QStringLiteral("styleborder"), border);
    settings.sync(); // written through a temporary file and renamed over the old one
    return settings.status() == QSettings::NoError;
}

void CStyleEngine::LoadStyleFromFolderSettings()
{
    const int code = StyleCodeFromFolderSettings();
    const int colour = StyleColorFromFolderSettings();
    const bool border = StyleBorderFromFolderSettings();
    SetStyle(code, colour, border);
}

QString CStyleEngine::MainStyleSheet() const
{
    QFile file(QStringLiteral(":/styles/style.css"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromLatin1(file.readAll());
    file.close();
    // The sheet is plain ASCII; the round trip through 8-bit text keeps it so.
    return QString::fromLatin1(ReplaceStyleSheetCodes(text).toLatin1());
}

bool CStyleEngine::SetStyleSheetFromCSS(QWidget* target) const
{
    const QString sheet = MainStyleSheet();
    if (sheet.isNull() || !target)
        return false;
    target->setStyleSheet(sheet);
    return true;
}

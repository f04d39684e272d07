// Style tokens, palettes, "stylecode.ini" and the style choice.

#include "uifixture.h"

#include "platform/userpaths.h"
#include "ui/toolkit/stylechooser.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QWidget>

#include <vector>

namespace {

class StyleTest : public UiTest {
protected:
    CStyleEngine& engine = CStyleEngine::instance();

    QString replaceUnder(int code, const QString& sheet)
    {
        engine.SetStyle(code, 0, false);
        return engine.ReplaceStyleSheetCodes(sheet);
    }
    QString freeStyle(int colour, bool border, const QString& sheet)
    {
        engine.SetStyle(CStyleEngine::kFreeStyleCode, colour, border);
        return engine.ReplaceStyleSheetCodes(sheet);
    }
};

TEST_F(StyleTest, SuffixedTokensAreReplacedBeforeTheBareToken)
{
    EXPECT_EQ(replaceUnder(0, "a { color: #STYLE_BACKGROUND; } b { color: #STYLE_BACKGROUND+2; }"),
              "a { color: #2e2e2e; } b { color: #4e4e4e; }");
    EXPECT_EQ(replaceUnder(0, "#STYLE_BOXCOLOR-1 #STYLE_BOXCOLOR+1 #STYLE_BOXCOLOR"), "#3e3e3e #5e5e5e #4e4e4e");
    EXPECT_EQ(replaceUnder(3, "#STYLE_TEXTCOLOR-9 #STYLE_TEXTCOLOR #STYLE_MAINCOLOR+5 #STYLE_MAINCOLOR"),
              "#070707 #272727 #ffffff #cfcfcf");
}

TEST_F(StyleTest, RadiusMinusOneByPalette)
{
    const char* expected[7] = {"4px", "2px", "4px", "1px", "4px", "1px", "4px"};
    for (int code = 0; code < 7; ++code) {
        EXPECT_EQ(replaceUnder(code, "border-radius: STYLE_BORDERRADIUS-1;"),
                  QStringLiteral("border-radius: %1;").arg(QLatin1String(expected[code])))
            << "code " << code;
    }
}

TEST_F(StyleTest, LowerCaseTokensAndUnknownCodesStayUntouched)
{
    EXPECT_EQ(replaceUnder(0, "#style_background"), "#style_background");

    MP_UI_SetBackgroundColor(0x123456);
    MP_UI_SetLineColor(0x654321);
    const QString sheet = allTokensSheet();
    for (int code : {7, -1, 98, 100}) {
        EXPECT_EQ(replaceUnder(code, sheet), sheet) << "code " << code;
        EXPECT_EQ(MP_UI_GetBackgroundColor(), 0x123456);
        EXPECT_EQ(MP_UI_GetLineColor(1), 0x654321);
    }
}

TEST_F(StyleTest, FixedPalettesHandTheirDrawingColoursToTheEngine)
{
    struct Case {
        int code, background;
        float opacity;
        int line, fill, border;
    };
    const Case cases[] = {
        {0, 0x3e3e3e, 0.09f, 0xbfbfbf, 0xafafbf, 0x4f4f4f}, {1, 0x1e1e1e, 0.09f, 0x9f9f8f, 0x9f9f9f, 0x2f2f2f},
        {2, 0x1e1e1e, 0.09f, 0x9f9f9f, 0x9f9f9f, 0x2f2f2f}, {3, 0x9e9e9e, 0.22f, 0x5f5f5f, 0x7f7f7f, 0x3f3f3f},
        {4, 0x1e1e2e, 0.09f, 0x9f9faf, 0x9f9f9f, 0x2f2f2f}, {5, 0x2e2727, 0.09f, 0xaf9f9f, 0x9f9f9f, 0x2f2f2f},
        {6, 0x2e2727, 0.09f, 0xaf9f9f, 0x9f9f9f, 0x2f2f2f},
    };
    for (const Case& c : cases) {
        MP_UI_SetHighlightColor(0);
        replaceUnder(c.code, "x");
        EXPECT_EQ(MP_UI_GetBackgroundColor(), c.background) << "code " << c.code;
        EXPECT_EQ(MP_UI_GetHighlightColor(), 0xffffff);
        EXPECT_EQ(MP_UI_GetHighlightOpacity(), c.opacity);
        EXPECT_EQ(MP_UI_GetLineColor(1), c.line);
        EXPECT_EQ(MP_UI_GetFillColor(1), c.fill);
        EXPECT_EQ(MP_UI_GetBorderColor(1), c.border);
    }
}

TEST_F(StyleTest, FreeColourDarkPalette)
{
    const QString sheet = "#STYLE_BACKGROUND #STYLE_BACKGROUND+9 #STYLE_BORDERCOLOR #STYLE_TEXTCOLOR "
                          "#STYLE_PROBARTEXTCOL STYLE_BORDERRADIUS-3 STYLE_BORDERRADIUS";
    EXPECT_EQ(freeStyle(0x5f5f5f, true, sheet), "#131313 #bebebe #212121 #ffffff #f1e7df 4px 6px");
    EXPECT_EQ(MP_UI_GetBackgroundColor(), 0x2f2f2f);
    EXPECT_EQ(MP_UI_GetHighlightOpacity(), 0.09f);
    EXPECT_EQ(MP_UI_GetLineColor(1), 0xafafaf);
    EXPECT_EQ(MP_UI_GetFillColor(1), 0x9f9f9f);
    EXPECT_EQ(MP_UI_GetBorderColor(1), 0x2f2f2f);
    EXPECT_EQ(freeStyle(0x5f5f5f, false, "STYLE_BORDERRADIUS-3 STYLE_BORDERRADIUS-1 STYLE_BORDERRADIUS"),
              "0px 1px 1px");
}

TEST_F(StyleTest, FreeColourLightPalette)
{
    EXPECT_EQ(freeStyle(0xbfbfbf, false, "#STYLE_BACKGROUND #STYLE_TEXTCOLOR #STYLE_MAINCOLOR+1 #STYLE_PROBARTEXTCOL"),
              "#989898 #4c4c4c #ffffff #212121");
    EXPECT_EQ(MP_UI_GetBackgroundColor(), 0xbfbfbf);
    EXPECT_EQ(MP_UI_GetLineColor(1), 0x5f5f5f);
    EXPECT_EQ(MP_UI_GetFillColor(1), 0x7f7f7f);
    EXPECT_EQ(MP_UI_GetBorderColor(1), 0x3f3f3f);
}

TEST_F(StyleTest, FreeColourTextIsGreyAndColoursKeepTheirHue)
{
    // (0x40, 0x80, 0xc0): d = 128, light.
    EXPECT_EQ(freeStyle(0x4080c0, true, "#STYLE_BACKGROUND #STYLE_TEXTCOLOR"), "#336699 #333333");
}

TEST_F(StyleTest, ChannelSumDecidesBetweenDarkAndLight)
{
    // Sum 383 gives d = 127 (dark), sum 384 gives d = 128 (light).
    EXPECT_EQ(freeStyle(0x7f7f81, true, "#STYLE_PROBARTEXTCOL"), "#f1e7df");
    EXPECT_EQ(freeStyle(0x808080, true, "#STYLE_PROBARTEXTCOL"), "#212121");
}

TEST_F(StyleTest, RgbToHexStringScalesTruncatesAndClamps)
{
    EXPECT_EQ(CStyleEngine::RGBToHexString(0, 0, 16, 1.0f), "000010");
    EXPECT_EQ(CStyleEngine::RGBToHexString(255, 255, 255, 2.0f), "ffffff");
    EXPECT_EQ(CStyleEngine::RGBToHexString(95, 95, 95, 0.35f), "212121");
    EXPECT_EQ(CStyleEngine::RGBToHexString(-10, 300, 1, 1.0f), "00ff01");
}

TEST_F(StyleTest, EveryPaletteReplacesEveryToken)
{
    const QString sheet = allTokensSheet();
    std::vector<int> codes = {0, 1, 2, 3, 4, 5, 6};
    for (int code : codes) {
        const QString out = replaceUnder(code, sheet);
        EXPECT_FALSE(out.contains("STYLE_")) << "code " << code;
    }
    for (int colour : {0x000000, 0x5f5f5f, 0xbfbfbf, 0xffffff, 0x123456}) {
        for (bool border : {false, true})
            EXPECT_FALSE(freeStyle(colour, border, sheet).contains("STYLE_")) << std::hex << colour;
    }
}

TEST_F(StyleTest, MainStyleSheetIsAsciiAndCompletelyReplaced)
{
    for (int code : {0, 1, 2, 3, 4, 5, 6, 99}) {
        engine.SetStyle(code, 0x5f5f5f, true);
        const QString sheet = engine.MainStyleSheet();
        ASSERT_FALSE(sheet.isEmpty());
        EXPECT_FALSE(sheet.contains("STYLE_")) << "code " << code;
        for (QChar c : sheet)
            ASSERT_LT(c.unicode(), 128);
    }
    QWidget w;
    engine.SetStyle(3, 0, false);
    EXPECT_TRUE(engine.SetStyleSheetFromCSS(&w));
    EXPECT_TRUE(w.styleSheet().contains("#8e8e8e"));
}

// ---- "stylecode.ini" -------------------------------------------------------

TEST_F(StyleTest, MissingIniGivesPaletteOneAndLogsTheDefaults)
{
    testing::internal::CaptureStdout();
    engine.SetStyle(5, 0, false);
    engine.LoadStyleFromFolderSettings();
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, "StyleCodeFromFolderSettings: 1\n"
                   "StyleColorFromFolderSettings: 6250335\n"
                   "StyleBorderFromFolderSettings: 1\n");
    EXPECT_EQ(engine.StyleCode(), 1);
    EXPECT_EQ(engine.StyleColor(), 0x5f5f5f);
    EXPECT_TRUE(engine.StyleBorder());
}

TEST_F(StyleTest, MissingKeysReadAsZeroAndFalse)
{
    lumivex::platform::ensureFolder(lumivex::platform::userSettingsFolder());
    {
        QSettings s(CStyleEngine::StyleIniPath(), QSettings::IniFormat);
        s.setValue("stylecode", 3);
    }
    testing::internal::CaptureStdout();
    engine.LoadStyleFromFolderSettings();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(engine.StyleCode(), 3);
    EXPECT_EQ(engine.StyleColor(), 0);
    EXPECT_FALSE(engine.StyleBorder());
}

TEST_F(StyleTest, WrittenStyleIsReadBackAndBecomesCurrent)
{
    EXPECT_TRUE(engine.StyleCodeToFolderSettings(99, 0x4080c0, false));
    EXPECT_EQ(engine.StyleCode(), 99);
    engine.SetStyle(0, 0, true);
    testing::internal::CaptureStdout();
    engine.LoadStyleFromFolderSettings();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "StyleCodeFromFolderSettings: 99\n"
                                                      "StyleColorFromFolderSettings: 4227264\n"
                                                      "StyleBorderFromFolderSettings: 0\n");
    EXPECT_EQ(engine.StyleColor(), 0x4080c0);
    EXPECT_FALSE(engine.StyleBorder());
}

TEST_F(StyleTest, UnwritableIniKeepsTheNewStyle)
{
    // A folder where the file should be: the write fails, the style applies.
    lumivex::platform::ensureFolder(CStyleEngine::StyleIniPath());
    EXPECT_FALSE(engine.StyleCodeToFolderSettings(4, 0x5f5f67, true));
    EXPECT_EQ(engine.StyleCode(), 4);
    QDir(CStyleEngine::StyleIniPath()).removeRecursively();
}

// ---- the style choice -------------------------------------------------------

class RecordingHost : public IStyleRefreshHost {
public:
    QWidget window;
    QStringList calls;
    QWidget* StyledMainWindow() override
    {
        calls << "sheet";
        return &window;
    }
    void RefreshImagePreviewFrame() override { calls << "preview"; }
    void RefreshPresetsStage() override { calls << "presets"; }
    void RefreshPostProcessingDock() override { calls << "postprocessing"; }
    void UpdateCompareWindow() override { calls << "compare"; }
};

class FakeColorDialog : public IStyleColorDialog {
public:
    int colour = 0, handedColour = -1;
    bool border = false, handedBorder = false;
    int newColour = -1;
    int newBorder = -1;
    int runs = 0;
    void SetData(int c, bool b) override
    {
        colour = handedColour = c;
        border = handedBorder = b;
    }
    int exec() override
    {
        ++runs;
        if (newColour >= 0)
            colour = newColour;
        if (newBorder >= 0)
            border = newBorder != 0;
        return 0;
    }
    int ConfirmedColor() const override { return colour; }
    bool ConfirmedBorder() const override { return border; }
};

class StyleChoiceTest : public StyleTest {
protected:
    RecordingHost host;
    CStyleChooser chooser{&host};
    QMenu view;
    FakeColorDialog dialog;

    void SetUp() override
    {
        StyleTest::SetUp();
        chooser.CreateActions(&host.window);
        chooser.CreateMenu(&view);
        chooser.SetStyleColorDialog(&dialog);
        testing::internal::CaptureStdout();
    }
    void TearDown() override
    {
        testing::internal::GetCapturedStdout();
        StyleTest::TearDown();
    }
    void choose(int choice)
    {
        host.calls.clear();
        chooser.ApplyChoice(chooser.Action(choice));
    }
};

TEST_F(StyleChoiceTest, MenuHoldsTheFirstFourChoicesAndNamesTheCurrentOne)
{
    ASSERT_NE(chooser.Menu(), nullptr);
    EXPECT_EQ(chooser.Menu()->actions().size(), 4);
    EXPECT_EQ(chooser.Menu()->title(), "Styles... (StyleSheet 2)");
    EXPECT_TRUE(chooser.Action(1)->isChecked());
    EXPECT_EQ(view.actions().size(), 3); // two separators and the sub-menu

    engine.SetStyle(5, 0, false);
    chooser.setStyleCodeMenuActTextIcon();
    EXPECT_EQ(chooser.Menu()->title(), "Styles... (StyleSheet 6)");
    for (QAction* a : chooser.Menu()->actions())
        EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(chooser.Action(5)->isChecked());

    engine.SetStyle(42, 0, false);
    chooser.setStyleCodeMenuActTextIcon();
    EXPECT_EQ(chooser.Menu()->title(), "Styles... (StyleSheet 6)");
    for (int i = 0; i < CStyleChooser::kChoiceCount; ++i)
        EXPECT_FALSE(chooser.Action(i)->isChecked());
}

TEST_F(StyleChoiceTest, ChoosingAFixedPaletteStoresItAndRefreshesInOrder)
{
    choose(0);
    EXPECT_EQ(host.calls, QStringList({"sheet", "preview", "presets", "postprocessing", "compare"}));
    EXPECT_EQ(engine.StyleCode(), 0);
    EXPECT_EQ(engine.StyleColor(), 0x635f67);
    EXPECT_TRUE(engine.StyleBorder());
    EXPECT_TRUE(host.window.styleSheet().contains("#2e2e2e"));
    EXPECT_EQ(chooser.Menu()->title(), "Styles... (StyleSheet 1)");
    QSettings s(CStyleEngine::StyleIniPath(), QSettings::IniFormat);
    EXPECT_EQ(s.value("stylecode").toInt(), 0);
    EXPECT_EQ(s.value("stylecolor").toInt(), 0x635f67);
    EXPECT_TRUE(s.value("styleborder").toBool());
}

TEST_F(StyleChoiceTest, ChoosingTheStoredPaletteRewritesTheFileButRefreshesNothing)
{
    engine.StyleCodeToFolderSettings(3, 0xbfbfbf, false);
    const QDateTime old = QDateTime::currentDateTime().addDays(-2);
    {
        QFile f(CStyleEngine::StyleIniPath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    choose(3);
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_GT(QFileInfo(CStyleEngine::StyleIniPath()).lastModified(), old.addDays(1));
    EXPECT_TRUE(chooser.Action(3)->isChecked());
}

TEST_F(StyleChoiceTest, SamePaletteWithAnotherColourCountsAsAChange)
{
    engine.StyleCodeToFolderSettings(0, 0x112233, true);
    choose(0);
    EXPECT_FALSE(host.calls.isEmpty());
    EXPECT_EQ(engine.StyleColor(), 0x635f67);
}

TEST_F(StyleChoiceTest, FreeChoiceDiscardedKeepsTheCode)
{
    engine.StyleCodeToFolderSettings(2, 0x676767, true);
    choose(CStyleChooser::kFreeChoice);
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(dialog.handedColour, 0x676767);
    EXPECT_TRUE(dialog.handedBorder);
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_EQ(engine.StyleCode(), 2);
}

TEST_F(StyleChoiceTest, FreeChoiceWithAChangedBorderSwitchesToCode99)
{
    engine.StyleCodeToFolderSettings(2, 0x676767, true);
    dialog.newBorder = 0;
    choose(CStyleChooser::kFreeChoice);
    EXPECT_EQ(engine.StyleCode(), 99);
    EXPECT_EQ(engine.StyleColor(), 0x676767);
    EXPECT_FALSE(engine.StyleBorder());
    EXPECT_FALSE(host.calls.isEmpty());
    EXPECT_TRUE(chooser.Action(CStyleChooser::kFreeChoice)->isChecked());
}

TEST_F(StyleChoiceTest, TriggeredActionReachesTheSlot)
{
    chooser.Action(2)->trigger();
    EXPECT_EQ(engine.StyleCode(), 2);
    EXPECT_EQ(engine.StyleColor(), 0x676767);
}

} // namespace

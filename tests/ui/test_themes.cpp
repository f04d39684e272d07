// Every toolkit widget under every palette: no style token survives in any
// sheet of the widget tree, and every theme icon and control image exists.

#include "uifixture.h"

#include "ui/toolkit/AK_GlobalWidgets.h"
#include "ui/toolkit/hdrcollapsible.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrdockwidget.h"
#include "ui/toolkit/hdrexposurelabel.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/resourceinit.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMainWindow>

#include <functional>
#include <memory>

namespace {

class InfoDock : public HDRDockWidget {
public:
    InfoDock() : HDRDockWidget("Info", nullptr, Qt::WindowFlags()) {}
    void GetInfoText(QString& text) override { text = "info"; }
};

class ToolDialog : public HDRInfoDialog {
public:
    ToolDialog() : HDRInfoDialog(nullptr) { CreateInfoArea(); }
};

// Style sheets of the widget and all its children that still hold a token.
QStringList sheetsWithTokens(QWidget* root)
{
    QStringList found;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (w->styleSheet().contains("STYLE_"))
            found << QString::fromLatin1(w->metaObject()->className()) + ": " + w->styleSheet().left(80);
    }
    return found;
}

using ThemeTest = UiTest;

TEST_F(ThemeTest, EveryWidgetUnderEveryPaletteHasNoTokenLeft)
{
    const std::vector<std::function<std::unique_ptr<QWidget>()>> builders = {
        [] {
            auto w = std::make_unique<QMainWindow>();
            EXPECT_TRUE(CStyleEngine::instance().SetStyleSheetFromCSS(w.get()));
            return std::unique_ptr<QWidget>(std::move(w));
        },
        [] {
            return std::unique_ptr<QWidget>(new HDRSlider(nullptr, "Radius", "klein", "groß", "px", 1, 500, 5, 1,
                                                          false, "stop:0 #000000, stop:1 #ffffff", true));
        },
        [] { return std::unique_ptr<QWidget>(new _gui::HDROpacitySlider(nullptr, "Größe", "klein", "groß")); },
        [] { return std::unique_ptr<QWidget>(new ToolDialog()); },
        [] {
            return std::unique_ptr<QWidget>(
                new HDRMessageBox(nullptr, QMessageBox::Question, "Titel", "Text", "Ja", "Nein"));
        },
        [] { return std::unique_ptr<QWidget>(new InfoDock()); },
        [] {
            auto* panel = new HDRCollapsible(nullptr);
            panel->SetHeader("Farbe");
            return std::unique_ptr<QWidget>(panel);
        },
        [] {
            auto* label = new HDRExposureLabel(nullptr);
            label->SetChecked(true);
            return std::unique_ptr<QWidget>(label);
        },
        [] {
            auto* label = new HDRExposureLabel(nullptr);
            label->SetChecked(false);
            return std::unique_ptr<QWidget>(label);
        },
    };

    struct Style {
        int code, colour;
        bool border;
    };
    const Style styles[] = {{0, 0, true},         {1, 0, false},         {2, 0, true},          {3, 0, false},
                            {4, 0, true},         {5, 0, false},         {6, 0, true},          {99, 0x5f5f5f, true},
                            {99, 0xbfbfbf, false}, {99, 0x000000, false}, {99, 0xffffff, true}};
    for (const Style& s : styles) {
        CStyleEngine::instance().SetStyle(s.code, s.colour, s.border);
        for (const auto& build : builders) {
            std::unique_ptr<QWidget> w = build();
            EXPECT_EQ(sheetsWithTokens(w.get()), QStringList()) << "style " << s.code << " colour " << s.colour;
        }
        // The progress window themes all its parts.
        HDRProgressThread guard(1, 3600 * 1000);
        EXPECT_EQ(sheetsWithTokens(guard.GetWindow()), QStringList()) << "style " << s.code;
        EXPECT_FALSE(guard.GetWindow()->styleSheet().isEmpty());
    }
}

TEST_F(ThemeTest, ThemeIconsAndControlImagesExist)
{
    LumivexInitResources();
    EXPECT_EQ(QIcon::themeName(), "silk");
    const char* icons[] = {"ProgrammSmybol", "ProgressWait", "ProgressContinue", "ProgressStop", "help",
                           "CollapsableArrowUp", "CollapsableArrowDown", "StyleMenu", "StyleSheet1", "StyleSheet2",
                           "StyleSheet3", "StyleSheet4", "StyleSheet5", "StyleSheet6", "StyleSheet7",
                           "StyleSheetFree"};
    for (const char* name : icons) {
        EXPECT_TRUE(QIcon::hasThemeIcon(name)) << name;
        const QImage img(QStringLiteral(":/icons/silk/16x16/%1.png").arg(QLatin1String(name)));
        EXPECT_EQ(img.size(), QSize(16, 16)) << name;
    }
    EXPECT_TRUE(QFile::exists(":/icons/silk/index.theme"));
    for (const char* state : {"", "_hover", "_pressed", "_disabled"}) {
        for (const char* kind : {"checked", "unchecked"}) {
            const QString path = QStringLiteral(":/checkbox_%1%2.png").arg(QLatin1String(kind), QLatin1String(state));
            EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        }
    }
    EXPECT_FALSE(QImage(":/combobox_downarrow.png").isNull());
    EXPECT_FALSE(QImage(":/combobox_downarrow_on.png").isNull());
}

} // namespace

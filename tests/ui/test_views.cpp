// Image views: the luminance bar, the compare divider and dock, the panorama
// viewer, and renders deferred while the engine is busy.

#include "uifixture.h"

#include "document/kernelrunner.h"
#include "platform/userpaths.h"
#include "ui/options/options.h"
#include "ui/toolkit/hdrcursor.h"
#include "ui/toolkit/hdrslider.h"
#include "ui/toolkit/resourceinit.h"
#include "ui/views/HDRCompareDockWidget.h"
#include "ui/views/hdrimagepreview.h"
#include "ui/views/hdrpanoramaview.h"
#include "ui/views/luminancelabel.h"
#include "ui/views/viewhost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>
#include <QToolBar>
#include <QTranslator>

#include <string>
#include <vector>

namespace {

// The main window as the views see it: two stages, buffers of one colour
// each, counted reads.
class FakeViewHost : public IViewHost {
public:
    int width = 600, height = 300;
    bool hdrStage = true, gammaView = false;
    std::vector<uint16_t> master, hdr, pp;
    int leftReads = 0, resultReads = 0;

    FakeViewHost() { Fill(); }
    void Fill()
    {
        master = solid(0x4000);
        hdr = solid(0xC000);
        pp = solid(0x8000);
    }
    std::vector<uint16_t> solid(uint16_t v) const
    {
        return std::vector<uint16_t>(static_cast<size_t>(width) * height * 3, v);
    }
    const unsigned short* give(const std::vector<uint16_t>& b, int* w, int* h)
    {
        *w = width;
        *h = height;
        return b.empty() ? nullptr : b.data();
    }
    const unsigned short* GetActualResultBuffer(int* w, int* h) override
    {
        ++resultReads;
        return give(hdrStage ? hdr : pp, w, h);
    }
    const unsigned short* GetActualHDRBuffer(int* w, int* h) override
    {
        if (!hdrStage)
            ++leftReads;
        return give(hdr, w, h);
    }
    const unsigned short* GetActualPPBuffer(int* w, int* h) override { return give(pp, w, h); }
    const unsigned short* GetActualMasterBuffer(int* w, int* h) override
    {
        ++leftReads;
        return give(master, w, h);
    }
    bool IsHDRStage() const override { return hdrStage; }
    bool IsGammaViewChecked() const override { return gammaView; }

    SDocumentInfo doc;
    std::vector<int> orientations;
    int changes = 0;
    std::vector<std::string> usage;
    std::vector<std::string> calls; // main-window slots in call order
    SDocumentInfo DocumentInfo() const override { return doc; }
    void ChangeOrientation(EOrientation o) override { orientations.push_back(o); }
    void MarkChanged() override { ++changes; }
    void CountUsage(const char* key, int) override { usage.push_back(key); }
    void PreviewModeToggled(bool) override { calls.push_back("preview"); }
    void RealTimeModeToggled(bool) override { calls.push_back("realtime"); }
    void RefreshClicked() override { calls.push_back("refresh"); }
    void WeightDrawQuit() override { calls.push_back("drawquit"); }
};

void mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void press(QWidget* w, QPoint p) { mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
void drag(QWidget* w, QPoint p) { mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
void hover(QWidget* w, QPoint p) { mouse(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
void release(QWidget* w, QPoint p) { mouse(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }

} // namespace

class ViewsTest : public UiTest {
protected:
    FakeViewHost host;
    void SetUp() override
    {
        UiTest::SetUp();
        HDRCursor::Init();
        ViewSeams::SetHost(&host);
    }
    void TearDown() override
    {
        ViewSeams::SetHost(nullptr);
        UiTest::TearDown();
    }
};

// ---- luminance bar ------------------------------------------------------------------

class LuminanceBarTest : public ViewsTest {
protected:
    CLuminanceLabel bar{nullptr};
    void SetUp() override
    {
        ViewsTest::SetUp();
        bar.resize(200, 29);
        bar.Update(2);
    }
    float lower() const { return bar.GetPosRel(0).Get(); }
    float upper() const { return bar.GetPosRel(1).Get(); }
    // Hover over x, then press, drag to toX and release.
    void dragHandle(int x, int toX)
    {
        hover(&bar, QPoint(x, 10));
        press(&bar, QPoint(x, 10));
        drag(&bar, QPoint(toX, 10));
        release(&bar, QPoint(toX, 10));
    }
};

TEST_F(LuminanceBarTest, ResetPutsTheHandlesAtBothEnds)
{
    const QRect g = bar.GetGradientRect();
    EXPECT_EQ(g, QRect(QPoint(4, 1), QPoint(195, 17)));
    EXPECT_FLOAT_EQ(lower(), 0.0f);
    EXPECT_FLOAT_EQ(upper(), 1.0f);
    EXPECT_EQ(bar.GetPos(0.0f), 4);
    EXPECT_EQ(bar.GetPos(1.0f), 195); // held to the right edge
    EXPECT_FLOAT_EQ(bar.GetXPosRel(-50).Get(), 0.0f);
    EXPECT_FLOAT_EQ(bar.GetPosRel(7).Get(), 0.0f);
    EXPECT_EQ(bar.GetActiveHandle(), 0xFFFFFFFFu);
}

TEST_F(LuminanceBarTest, LowerHandleStopsShortOfTheUpper)
{
    dragHandle(4, 400);
    EXPECT_FLOAT_EQ(lower(), 0.95f);
    EXPECT_FLOAT_EQ(upper(), 1.0f);
}

TEST_F(LuminanceBarTest, UpperHandlePushesTheLower)
{
    dragHandle(4, 100); // lower to about 0.5
    const float before = lower();
    ASSERT_GT(before, 0.45f);
    dragHandle(195, 60);
    EXPECT_NEAR(upper(), (60.0f - 4.0f) / 192.0f, 1e-5f);
    EXPECT_NEAR(lower(), upper() - 0.05f, 1e-5f);
    dragHandle(195, -100); // not below 0.05
    dragHandle(bar.GetPos(upper()), -100);
    EXPECT_FLOAT_EQ(upper(), 0.05f);
    EXPECT_FLOAT_EQ(lower(), 0.0f);
}

TEST_F(LuminanceBarTest, BothHandlesUnderThePointerMoveTheLower)
{
    dragHandle(4, 100);
    dragHandle(195, 110); // upper 0.05 above... within the hit width of the lower
    const int x = (bar.GetPos(lower()) + bar.GetPos(upper())) / 2;
    hover(&bar, QPoint(x, 10));
    press(&bar, QPoint(x, 10));
    EXPECT_EQ(bar.GetActiveHandle(), 0u);
    const float up = upper();
    drag(&bar, QPoint(x - 40, 10));
    EXPECT_LT(lower(), 0.4f);
    EXPECT_FLOAT_EQ(upper(), up);
    // Leaving ends the drag.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&bar, &leave);
    EXPECT_EQ(bar.GetActiveHandle(), 0xFFFFFFFFu);
}

TEST_F(LuminanceBarTest, WithoutPictureTheMouseIsIgnored)
{
    CLuminanceLabel fresh(nullptr);
    fresh.resize(200, 29);
    SignalCounter updates(&fresh, &CLuminanceLabel::SigUpdate);
    hover(&fresh, QPoint(4, 10));
    press(&fresh, QPoint(4, 10));
    EXPECT_EQ(updates.count(), 0);
    EXPECT_EQ(fresh.GetActiveHandle(), 0xFFFFFFFFu);
}

// ---- compare divider --------------------------------------------------------------

class DividerTest : public ::testing::Test {
protected:
    CCompareDivider d;
    QWidget target;
    void SetUp() override
    {
        _hlp::SRangedRect<int> r;
        r.SetRange(_hlp::SRange<int>(0, 300), _hlp::SRange<int>(0, 200));
        r.Set(0, 0, 300, 200);
        d.SetImageFrame(r);
        d.SetOrientation(CCompareDivider::eO_VERTICAL);
    }
    void pressAt(QPoint p)
    {
        QMouseEvent e(QEvent::MouseButtonPress, QPointF(p), QPointF(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        d.OnMousePressEvent(&e);
    }
    void moveTo(QPoint p, Qt::MouseButtons b)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(p), Qt::NoButton, b, Qt::NoModifier);
        d.OnMouseMoveEvent(&e);
    }
};

TEST_F(DividerTest, NewOrientationStartsInTheMiddle)
{
    ASSERT_TRUE(d.IsAvailable());
    EXPECT_EQ(d.GetDividerPoints(), QLine(150, 0, 150, 199));
    d.SetOrientation(CCompareDivider::eO_HORIZONTAL);
    EXPECT_EQ(d.GetDividerPoints(), QLine(0, 100, 299, 100));
    d.SetOrientation(CCompareDivider::eO_DIAGONAL2);
    EXPECT_EQ(d.GetDividerPoints(), QLine(0, 0, 299, 199));
    EXPECT_FLOAT_EQ(d.GetPosition(), 0.5f);
}

TEST_F(DividerTest, ClickAwayJumpsAndDrags)
{
    pressAt(QPoint(50, 100));
    EXPECT_TRUE(d.IsActive());
    EXPECT_EQ(d.GetDividerPoints().x1(), 50);
    moveTo(QPoint(80, 120), Qt::LeftButton);
    EXPECT_EQ(d.GetDividerPoints().x1(), 80);
    const auto rel = d.GetDividerPointsRel();
    EXPECT_NEAR(rel.first.X(), 80.0f / 299.0f, 1e-6f);
    EXPECT_FLOAT_EQ(rel.first.Y(), 0.0f);
    EXPECT_FLOAT_EQ(rel.second.Y(), 1.0f);
    // Leaving the label ends the drag.
    d.OnLeaveEvent(nullptr);
    EXPECT_FALSE(d.IsActive());
    moveTo(QPoint(200, 120), Qt::LeftButton);
    EXPECT_EQ(d.GetDividerPoints().x1(), 80);
}

TEST_F(DividerTest, NearTheEdgeItStopsAtTheMargin)
{
    struct Case {
        CCompareDivider::EOrientation o;
        QPoint click;
        QPoint expectedStart;
    };
    const Case cases[] = {
        {CCompareDivider::eO_VERTICAL, QPoint(2, 100), QPoint(10, 0)},
        {CCompareDivider::eO_VERTICAL, QPoint(298, 100), QPoint(289, 0)},
        {CCompareDivider::eO_HORIZONTAL, QPoint(150, 198), QPoint(0, 189)},
    };
    for (const Case& c : cases) {
        d.OnLeaveEvent(nullptr);
        d.SetOrientation(c.o);
        pressAt(c.click);
        EXPECT_EQ(d.GetDividerPoints().p1(), c.expectedStart) << c.o;
        EXPECT_TRUE(d.IsActive()) << c.o; // within 12 pixels of the click
    }
    // Diagonals keep 20 pixels from the corner along the rail.
    d.OnLeaveEvent(nullptr);
    d.SetOrientation(CCompareDivider::eO_DIAGONAL2);
    pressAt(QPoint(290, 5));
    const QPoint c = d.GetDividerCenterPos();
    EXPECT_NEAR(std::abs(d.GetDistance(QPoint(150, 100))), d.GetDividerRailLen() / 2 - 20, 1.5f);
    EXPECT_GT(c.x(), 150);
}

TEST_F(DividerTest, HorizontalPositionCountsFromTheBottom)
{
    d.SetOrientation(CCompareDivider::eO_HORIZONTAL);
    pressAt(QPoint(150, 150));
    const float low = d.GetPosition();
    d.OnLeaveEvent(nullptr);
    pressAt(QPoint(150, 50));
    EXPECT_GT(d.GetPosition(), low);
    EXPECT_LT(low, 0.5f);
}

TEST_F(DividerTest, SmallFrameLeavesTheDividerUnavailable)
{
    _hlp::SRangedRect<int> r;
    r.SetRange(_hlp::SRange<int>(0, 300), _hlp::SRange<int>(0, 200));
    r.Set(0, 50, 300, 59);
    d.SetImageFrame(r);
    EXPECT_FALSE(d.IsAvailable());
    EXPECT_EQ(d.GetDividerPoints(), QLine());
    EXPECT_FLOAT_EQ(d.GetDividerRailLen(), 0.0f);
    pressAt(QPoint(100, 55));
    EXPECT_FALSE(d.IsActive());
}

// ---- compare dock ------------------------------------------------------------------

class CompareDockTest : public ViewsTest {
protected:
    CCompareDockWidget* dock = nullptr;
    void SetUp() override
    {
        ViewsTest::SetUp();
        dock = new CCompareDockWidget(QStringLiteral("Compare Window"), nullptr);
    }
    void TearDown() override
    {
        delete dock;
        ViewsTest::TearDown();
    }
    QImage picture() const { return dock->CompareLabel()->pixmap().toImage(); }
};

TEST_F(CompareDockTest, RendersMasterAgainstHDRAndSwaps)
{
    EXPECT_FALSE(dock->Refresh()); // hidden: nothing happens
    EXPECT_TRUE(dock->CompareLabel()->pixmap().isNull());
    dock->show();
    QApplication::processEvents();
    ASSERT_TRUE(dock->Refresh());
    const QImage img = picture();
    ASSERT_FALSE(img.isNull());
    const int y = img.height() / 2;
    EXPECT_EQ(img.pixel(5, y), 0xFF404040u);
    EXPECT_EQ(img.pixel(img.width() - 5, y), 0xFFC0C0C0u);
    dock->FlipButton()->click();
    const QImage flipped = picture();
    EXPECT_EQ(flipped.pixel(5, y), 0xFFC0C0C0u);
    // Post-processing stage: HDR against the post-processing result.
    dock->FlipButton()->click();
    host.hdrStage = false;
    dock->Refresh();
    EXPECT_EQ(picture().pixel(5, y), 0xFFC0C0C0u);
    EXPECT_EQ(picture().pixel(img.width() - 5, y), 0xFF808080u);
    EXPECT_TRUE(dock->OrientationButton(0)->isEnabled());
    EXPECT_FALSE(dock->LuminanceModeButton()->isEnabled());
}

TEST_F(CompareDockTest, MismatchedBuffersKeepThePicture)
{
    dock->show();
    dock->Refresh();
    const QImage before = picture();
    host.pp = std::vector<uint16_t>(30, 0);
    host.hdrStage = false;
    host.width = 5; // the post-processing buffer now claims another size
    host.height = 2;
    host.hdr.clear(); // and the HDR buffer is missing
    dock->Refresh();
    EXPECT_EQ(picture(), before);
}

TEST_F(CompareDockTest, FlatFrameDisablesTheDivider)
{
    host.width = 1000;
    host.height = 5;
    host.Fill();
    dock->show();
    dock->Refresh();
    EXPECT_FALSE(dock->CompareLabel()->IsCompareAvailable());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(dock->OrientationButton(i)->isEnabled());
    EXPECT_FALSE(dock->FlipButton()->isEnabled());
    EXPECT_TRUE(dock->LuminanceButton()->isEnabled());
    // The whole frame shows side B.
    const QImage img = picture();
    for (int x = 0; x < img.width(); x += 7)
        EXPECT_EQ(img.pixel(x, img.height() / 2), 0xFFC0C0C0u) << x;
}

TEST_F(CompareDockTest, LuminanceControls)
{
    dock->show();
    dock->LuminanceButton()->click();
    EXPECT_TRUE(dock->LuminanceModeButton()->isEnabled());
    EXPECT_TRUE(dock->LuminanceLabel()->isEnabled());
    for (int expected : {1, 2, 0}) {
        QMetaObject::invokeMethod(dock->LuminanceModeButton(), "pressed");
        EXPECT_EQ(dock->LuminanceMode(), expected);
    }
    dock->Reset();
    EXPECT_FALSE(dock->LuminanceButton()->isChecked());
    EXPECT_TRUE(dock->OrientationButton(0)->isChecked());
}

TEST_F(CompareDockTest, RenderAskedForWhileTheEngineIsBusyRunsOnceAfterwards)
{
    dock->show();
    QApplication::processEvents();
    host.leftReads = 0;
    CEngineGuard::Acquire();
    dock->Update();
    dock->Update();
    EXPECT_EQ(host.leftReads, 0);
    CEngineGuard::Release();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(host.leftReads, 1);
}

// ---- panorama viewer --------------------------------------------------------------

class PanoramaTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        QFile::remove(HDRPanoramaView::SettingsPath());
    }
    void smallSource()
    {
        host.width = 64;
        host.height = 32;
        host.Fill();
    }
};

TEST_F(PanoramaTest, ViewSizeForTheScreen)
{
    EXPECT_EQ(HDRPanoramaView::CalcViewSize(QSize(1440, 900)), QSize(1152, 576));
    EXPECT_EQ(HDRPanoramaView::CalcViewSize(QSize(1920, 1080)), QSize(1536, 768));
    // A very wide screen: the factor shrinks until the height fits.
    const QSize wide = HDRPanoramaView::CalcViewSize(QSize(4000, 1000));
    EXPECT_LT(wide.height(), 1000);
    EXPECT_EQ(wide.width() % 16, 0);
    EXPECT_EQ(wide.height() % 16, 0);
}

TEST_F(PanoramaTest, WheelSetsAnEasedTarget)
{
    HDRPanoramaView view(nullptr);
    const float z = view.Zoom();
    EXPECT_FLOAT_EQ(z, 1.3f);
    view.wheelZoom(120);
    EXPECT_FLOAT_EQ(view.ZoomTarget(), 1.48f * z);
    view.wheelZoom(-120);
    EXPECT_FLOAT_EQ(view.ZoomTarget(), 0.52f * z);
    view.wheelZoom(-100000);
    EXPECT_FLOAT_EQ(view.ZoomTarget(), 1.0f / 3.0f);
    view.wheelZoom(100000);
    EXPECT_FLOAT_EQ(view.ZoomTarget(), 10.0f);
    view.AutoButton()->click();
    EXPECT_TRUE(view.IsAutoTour());
    view.wheelZoom(120);
    EXPECT_FALSE(view.IsAutoTour());
    EXPECT_FALSE(view.AutoButton()->isChecked());
}

TEST_F(PanoramaTest, IdleTicksDoNotRender)
{
    smallSource();
    HDRPanoramaView view(nullptr);
    view.calcView(); // after reset: forced
    EXPECT_EQ(host.resultReads, 1);
    EXPECT_FALSE(view.ViewLabel()->pixmap().isNull());
    view.cursorDrag(0, 0);
    view.wheelZoom(0);
    for (int i = 0; i < 400 && std::fabs(view.Zoom() - view.ZoomTarget()) >= 0.01f; ++i)
        view.calcView();
    const int reads = host.resultReads;
    view.calcView();
    view.calcView();
    EXPECT_EQ(host.resultReads, reads);
    // A drag moves again.
    view.cursorDrag(300, 0);
    view.calcView();
    EXPECT_EQ(host.resultReads, reads + 1);
    EXPECT_GT(view.YawSpeed(), 0.0f);
}

TEST_F(PanoramaTest, PitchStopsAtThePoles)
{
    HDRPanoramaView view(nullptr);
    view.cursorDrag(0, -100000); // upwards, fast
    for (int i = 0; i < 50; ++i)
        view.calcView();
    EXPECT_FLOAT_EQ(view.Pitch(), 1.5707963f);
    EXPECT_FLOAT_EQ(view.PitchSpeed(), 0.0f);
}

TEST_F(PanoramaTest, InvertSwitchesLiveInTheSettingsFile)
{
    HDRPanoramaView view(nullptr);
    view.MouseInvertFromSettings();
    EXPECT_FALSE(view.VertikalInvertButton()->isChecked());
    EXPECT_FALSE(view.HorizontalInvertButton()->isChecked());
    EXPECT_FALSE(QFile::exists(HDRPanoramaView::SettingsPath()));
    view.VertikalInvertButton()->click();
    {
        QSettings ini(HDRPanoramaView::SettingsPath(), QSettings::IniFormat);
        EXPECT_TRUE(ini.value(QStringLiteral("mousevertikalinvert")).toBool());
        EXPECT_TRUE(ini.contains(QStringLiteral("mousehorizontalinvert")));
        EXPECT_FALSE(ini.value(QStringLiteral("mousehorizontalinvert")).toBool());
    }
    // Inverted vertical drag turns the other way.
    view.cursorDrag(0, 100);
    EXPECT_GT(view.PitchSpeed(), 0.0f);
    HDRPanoramaView second(nullptr);
    second.MouseInvertFromSettings();
    EXPECT_TRUE(second.VertikalInvertButton()->isChecked());
}

TEST_F(PanoramaTest, FailedSettingsWriteSaysSo)
{
    ASSERT_TRUE(lumivex::platform::ensureFolder(HDRPanoramaView::SettingsPath())); // a folder in the file's place
    int prompts = 0;
    _gui::SetModalHook([&prompts](QWidget*) {
        ++prompts;
        return int(QDialog::Rejected);
    });
    HDRPanoramaView view(nullptr);
    view.HorizontalInvertButton()->click();
    EXPECT_EQ(prompts, 1);
    QDir(HDRPanoramaView::SettingsPath()).removeRecursively();
}

TEST_F(PanoramaTest, TwoShowsKeepOneTimer)
{
    smallSource();
    HDRPanoramaView view(nullptr);
    view.show();
    view.hide();
    view.show();
    EXPECT_EQ(view.findChildren<QTimer*>(Qt::FindDirectChildrenOnly).size(), 1);
    ASSERT_NE(view.Timer(), nullptr);
    EXPECT_TRUE(view.Timer()->isActive());
    EXPECT_GE(view.TimerInterval(), 1.0f);
    view.exitClicked();
    EXPECT_EQ(view.Timer(), nullptr);
    EXPECT_TRUE(view.findChildren<QTimer*>(Qt::FindDirectChildrenOnly).isEmpty());
}

// ---- pictures under both styles ------------------------------------------------------
// With LUMIVEX_RENDER_DIR set the pictures are written there for a look.

namespace {

void savePicture(QWidget* widget, const QString& name)
{
    const QPixmap picture = widget->grab();
    ASSERT_FALSE(picture.isNull()) << qPrintable(name);
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    if (!dir.isEmpty())
        picture.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// A colourful test picture: hues across, brightness down.
std::vector<uint16_t> testPicture(int w, int h, bool processed)
{
    std::vector<uint16_t> img(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QColor c = QColor::fromHsvF(static_cast<float>(x) / w, processed ? 0.8f : 0.35f,
                                              1.0f - 0.8f * static_cast<float>(y) / h);
            uint16_t* p = &img[(static_cast<size_t>(y) * w + x) * 3];
            p[0] = static_cast<uint16_t>(c.redF() * 65535);
            p[1] = static_cast<uint16_t>(c.greenF() * 65535);
            p[2] = static_cast<uint16_t>(c.blueF() * 65535);
        }
    return img;
}

} // namespace

TEST_F(ViewsTest, WindowsUnderDarkAndLightStyles)
{
    LumivexInitResources();
    // In German, as a first start on a German system shows them.
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(LUMIVEX_APP_DIR "/translations/hdrvorlix_de_DE")));
    QCoreApplication::installTranslator(&german);
    host.width = 480;
    host.height = 320;
    host.master = testPicture(480, 320, false);
    host.hdr = testPicture(480, 320, true);
    host.pp = host.hdr;
    struct SStyle {
        const char* name;
        int code;
    };
    for (const SStyle& style : {SStyle{"dark", 0}, SStyle{"light", 3}}) {
        SCOPED_TRACE(style.name);
        CStyleEngine::instance().StyleCodeToFolderSettings(style.code, CStyleEngine::kDefaultStyleColor, true);
        CCompareDockWidget dock(QStringLiteral("Compare Window"), nullptr);
        CStyleEngine::instance().SetStyleSheetFromCSS(&dock);
        dock.setFloating(true);
        dock.show();
        dock.SetDefaultSizing(false);
        dock.resize(420, 380);
        dock.LuminanceButton()->click();
        dock.OrientationButton(2)->click();
        QMetaObject::invokeMethod(dock.OrientationButton(2), "pressed");
        QApplication::processEvents();
        dock.Refresh();
        savePicture(&dock, QStringLiteral("compare_%1").arg(QLatin1String(style.name)));

        HDRPanoramaView panorama(nullptr);
        CStyleEngine::instance().SetStyleSheetFromCSS(&panorama);
        panorama.show();
        QApplication::processEvents();
        savePicture(&panorama, QStringLiteral("panorama_%1").arg(QLatin1String(style.name)));
        panorama.close();

        QWidget window;
        auto* column = new QVBoxLayout(&window);
        auto* toolBar = new QToolBar(&window);
        column->addWidget(toolBar);
        auto* preview = new HDRImagePreview(&window, toolBar, nullptr);
        column->addWidget(preview);
        CStyleEngine::instance().SetStyleSheetFromCSS(&window);
        window.resize(900, 520);
        window.show();
        QImage picture(480, 320, QImage::Format_ARGB32);
        MP_UI_ConvertRGB48toARGB8888(480, 320, host.hdr.data(), reinterpret_cast<uint32_t*>(picture.bits()));
        preview->SetPixmap(QPixmap::fromImage(picture));
        preview->updateFrameColor(false);
        host.doc = {true, 1, 4800, 3200, 480, 320, true, QStringLiteral("IMG_0042.tif"), 200, QStringLiteral("Model X")};
        preview->updateStatusBar(QPoint(120, 80), picture.pixel(120, 80));
        QApplication::processEvents();
        savePicture(&window, QStringLiteral("preview_%1").arg(QLatin1String(style.name)));
        preview->ZoomSlider()->SetValueInt(300);
        preview->resizeLabel(true);
        press(preview->ScrollArea()->viewport(), QPoint(40, 40));
        savePicture(&window, QStringLiteral("preview_panning_%1").arg(QLatin1String(style.name)));
        release(preview->ScrollArea()->viewport(), QPoint(40, 40));
    }
    QCoreApplication::removeTranslator(&german);
}

// ---- central preview ---------------------------------------------------------------------

class PreviewTest : public ViewsTest {
protected:
    QToolBar toolBar;
    HDRImagePreview* preview = nullptr;
    void SetUp() override
    {
        ViewsTest::SetUp();
        COptions::getInstance()->m_bPreviewMode = true;
        COptions::getInstance()->m_bRealTimeMode = true;
        preview = new HDRImagePreview(nullptr, &toolBar, nullptr);
    }
    void TearDown() override
    {
        delete preview;
        ViewsTest::TearDown();
    }
    static QPixmap pixmapOf(int w, int h)
    {
        QImage img(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, qRgb(x & 255, y & 255, (x * 7 + y) & 255));
        return QPixmap::fromImage(img);
    }
};

TEST_F(PreviewTest, ZoomSteps)
{
    struct Case {
        int from;
        void (HDRImagePreview::*step)();
        int to;
    };
    const Case cases[] = {{5, &HDRImagePreview::zoomInClicked, 25},     {990, &HDRImagePreview::zoomInClicked, 1000},
                          {1000, &HDRImagePreview::zoomInClicked, 1000}, {110, &HDRImagePreview::zoomInClicked, 125},
                          {25, &HDRImagePreview::zoomOutClicked, 5},     {5, &HDRImagePreview::zoomOutClicked, 5},
                          {110, &HDRImagePreview::zoomOutClicked, 100},  {125, &HDRImagePreview::zoomOutClicked, 100}};
    for (const Case& c : cases) {
        preview->ZoomSlider()->SetValueInt(c.from);
        preview->FitButton()->setChecked(true);
        (preview->*c.step)();
        EXPECT_EQ(preview->ZoomValue(), c.to) << c.from;
        EXPECT_FALSE(preview->FitButton()->isChecked());
    }
    preview->ZoomSlider()->SetValueInt(5);
    preview->wheelZoom(120, QPoint());
    EXPECT_EQ(preview->ZoomValue(), 6);
    preview->ZoomSlider()->SetValueInt(10);
    preview->wheelZoom(-1, QPoint());
    EXPECT_EQ(preview->ZoomValue(), 9);
    preview->wheelZoom(0, QPoint());
    EXPECT_EQ(preview->ZoomValue(), 9);
    preview->actualSizeClicked();
    EXPECT_EQ(preview->ZoomValue(), 100);
}

TEST_F(PreviewTest, FitUsesTheTighterSide)
{
    preview->ZoomSlider()->SetValueInt(100);
    preview->fitToScreenClicked(); // no picture yet: nothing
    EXPECT_EQ(preview->ZoomValue(), 100);
    preview->SetPixmap(pixmapOf(400, 300));
    preview->ScrollArea()->resize(100, 60);
    preview->fitToScreenClicked();
    EXPECT_EQ(preview->ZoomValue(), 19);
    EXPECT_EQ(preview->PreviewLabel()->size(), QSize(76, 57));
    preview->ScrollArea()->resize(100, 80);
    preview->fitToScreenClicked();
    EXPECT_EQ(preview->ZoomValue(), 24);
    // In fit mode a resize fits again; a double click then goes to 100 %.
    preview->FitButton()->click();
    EXPECT_TRUE(preview->FitButton()->isChecked());
    preview->show();
    preview->ScrollArea()->setFixedSize(100, 60);
    QApplication::processEvents();
    EXPECT_EQ(preview->ZoomValue(), 19);
    preview->doubleClick();
    EXPECT_EQ(preview->ZoomValue(), 100);
    EXPECT_FALSE(preview->FitButton()->isChecked());
}

TEST_F(PreviewTest, NewPictureOfTheSameSizeKeepsTheView)
{
    preview->resize(300, 250);
    preview->show();
    preview->SetPixmap(pixmapOf(800, 600));
    QApplication::processEvents();
    QScrollBar* h = preview->ScrollArea()->horizontalScrollBar();
    ASSERT_GT(h->maximum(), 100);
    h->setValue(37);
    preview->SetPixmap(pixmapOf(800, 600));
    EXPECT_EQ(h->value(), 37);
    preview->SetPixmap(pixmapOf(900, 600));
    EXPECT_EQ(h->value(), h->maximum() / 2);
    // Dragging moves the picture with the mouse; a fitting one stays.
    preview->cursorDrag(10, 0, 20, 0);
    EXPECT_EQ(h->value(), 30);
    preview->SetPixmap(pixmapOf(50, 40));
    preview->cursorDrag(10, 10, 20, 20);
    EXPECT_EQ(h->value(), 0);
    EXPECT_EQ(preview->ScrollArea()->verticalScrollBar()->value(), 0);
}

TEST_F(PreviewTest, StatusBar)
{
    host.doc.exists = true;
    host.doc.exposures = 1;
    host.doc.fullWidth = 4000;
    host.doc.fullHeight = 3000;
    host.doc.previewWidth = 1000;
    host.doc.previewHeight = 750;
    host.doc.hasMaster = true;
    host.doc.masterFileName = QStringLiteral("IMG_1.tif");
    host.doc.iso = 200;
    host.doc.cameraModel = QStringLiteral("Model X");
    MP_UI_SetImageSizeMode(2);
    preview->updateStatusBar(QPoint(10, 20), qRgb(1, 2, 3));
    EXPECT_EQ(preview->SizeLabel()->text(), QStringLiteral("IMG_1.tif - 4000x3000 Pixel (12.00 Abkürzung Megapixel)"));
    EXPECT_EQ(preview->InfoLabel()->text(), QStringLiteral(" - ISO 200 - Model X"));
    EXPECT_EQ(preview->PositionLabel()->text(), QStringLiteral("(84,164) -"));
    EXPECT_EQ(preview->RedLabel()->text(), QStringLiteral("1"));
    // Neither ISO nor model: empty info; no master: the size only.
    host.doc.iso = -1;
    host.doc.cameraModel.clear();
    preview->updateStatusBar(QPoint(10, 20), 0);
    EXPECT_TRUE(preview->InfoLabel()->text().isEmpty());
    host.doc.hasMaster = false;
    host.doc.iso = 100;
    preview->updateStatusBar(QPoint(10, 20), 0);
    EXPECT_EQ(preview->SizeLabel()->text(), QStringLiteral(" - 4000x3000 Pixel (12.00 Abkürzung Megapixel)"));
    EXPECT_TRUE(preview->InfoLabel()->text().isEmpty());
    // No preview size: no position.
    host.doc.previewWidth = 0;
    preview->updateStatusBar(QPoint(10, 20), 0);
    EXPECT_TRUE(preview->PositionLabel()->text().isEmpty());
    preview->clearStatusBar();
    EXPECT_TRUE(preview->SizeLabel()->text().isEmpty());
    // Without a document nothing is written.
    host.doc.exists = false;
    preview->updateStatusBar(QPoint(1, 1), 0);
    EXPECT_TRUE(preview->SizeLabel()->text().isEmpty());
}

TEST_F(PreviewTest, RefreshButtonAndChangeMarking)
{
    EXPECT_FALSE(preview->GetRefreshButtonEnabled()); // real-time mode on
    preview->SetNextRefreshButtonEnabledIgnore(true);
    preview->SetRefreshButtonEnabled(true);
    EXPECT_EQ(host.changes, 1);
    EXPECT_FALSE(preview->GetRefreshButtonEnabled());
    preview->SetRefreshButtonEnabled(true);
    EXPECT_EQ(host.changes, 2);
    EXPECT_TRUE(preview->GetRefreshButtonEnabled());
    preview->SetRefreshButtonEnabled(false);
    EXPECT_EQ(host.changes, 2);
    EXPECT_FALSE(preview->GetRefreshButtonEnabled());
}

TEST_F(PreviewTest, ModeButtonsReachTheMainWindowFirst)
{
    preview->RealTimeButton()->setChecked(false);
    preview->m_pPreviewModeButton->setChecked(false);
    host.calls.clear();
    preview->m_pPreviewModeButton->setChecked(true); // also switches real time on
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[0], "preview");
    EXPECT_EQ(host.calls[1], "realtime");
    EXPECT_TRUE(preview->RealTimeButton()->isChecked());
    EXPECT_FALSE(preview->GetRefreshButtonEnabled());
    preview->RefreshButton()->setEnabled(true);
    preview->RefreshButton()->click();
    EXPECT_EQ(host.calls.back(), "refresh");
}

TEST_F(PreviewTest, OrientationButtonsCountAndNeedAnExposure)
{
    SignalCounter changed(preview, &HDRImagePreview::geometryClicked);
    preview->updateMirror();
    EXPECT_TRUE(host.orientations.empty());
    host.doc.exists = true;
    host.doc.exposures = 1;
    preview->updateRotateLeft();
    preview->updateFlip();
    EXPECT_EQ(host.orientations, (std::vector<int>{IViewHost::eROTATE_LEFT, IViewHost::eFLIP}));
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(host.usage, (std::vector<std::string>{"m_iHMirrorClicked", "m_iRotateLeftClicked", "m_iVMirrorClicked"}));
}

TEST_F(PreviewTest, ClippingToggle)
{
    preview->EnableShowLimits();
    SignalCounter limits(preview, &HDRImagePreview::showLimitsClicked);
    preview->BorderPixelButton()->click();
    EXPECT_EQ(MP_UI_GetLimitPixelMode(), 1);
    EXPECT_EQ(limits.count(), 1);
    preview->DisableShowLimits();
    EXPECT_EQ(MP_UI_GetLimitPixelMode(), 0);
    EXPECT_FALSE(preview->BorderPixelButton()->isChecked());
}

TEST_F(PreviewTest, NavigatorOnlyWhilePanningALargerPicture)
{
    preview->resize(300, 250);
    preview->show();
    preview->SetPixmap(pixmapOf(800, 600));
    QApplication::processEvents();
    _QPreviewLabel* label = preview->PreviewLabel();
    const QImage still = label->grab().toImage();
    QWidget* viewport = preview->ScrollArea()->viewport();
    press(viewport, QPoint(50, 50));
    ASSERT_TRUE(preview->ScrollArea()->IsPanning());
    const QImage panning = label->grab().toImage();
    EXPECT_NE(still, panning);
    release(viewport, QPoint(50, 50));
    EXPECT_EQ(label->grab().toImage(), still);
    // A picture that fits shows no navigator.
    preview->SetPixmap(pixmapOf(60, 40));
    const QImage small = label->grab().toImage();
    press(viewport, QPoint(20, 20));
    EXPECT_EQ(label->grab().toImage(), small);
    release(viewport, QPoint(20, 20));
}

TEST_F(PreviewTest, MagnifierAtACornerShowsTheFirstPixels)
{
    preview->SetPixmap(pixmapOf(40, 30));
    preview->ZoomSlider()->SetValueInt(100);
    preview->resizeLabel(false);
    _QPreviewLabel* label = preview->PreviewLabel();
    std::vector<QPoint> moves;
    QObject context;
    QObject::connect(label, &_QPreviewLabel::moveSignal, &context, [&](QPoint p, QRgb) { moves.push_back(p); });
    QApplication::setOverrideCursor(Qt::CrossCursor);
    hover(label, QPoint(0, 0));
    QApplication::restoreOverrideCursor();
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], QPoint(0, 0));
    const QImage cells = label->Magnifier()->pixmap().toImage();
    ASSERT_EQ(cells.size(), QSize(105, 105));
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            EXPECT_EQ(cells.pixel(j * 15 + 7, i * 15 + 7), qRgb(j, i, (j * 7 + i) & 255)) << j << "," << i;
    // A picture smaller than the block: cells held inside it.
    preview->SetPixmap(pixmapOf(3, 2));
    QApplication::setOverrideCursor(Qt::CrossCursor);
    hover(label, QPoint(1, 1));
    QApplication::restoreOverrideCursor();
    const QImage tiny = label->Magnifier()->pixmap().toImage();
    EXPECT_EQ(tiny.pixel(6 * 15 + 7, 6 * 15 + 7), qRgb(2, 1, 15));
    // Without a picture nothing is reported.
    preview->Clear();
    moves.clear();
    hover(label, QPoint(1, 1));
    EXPECT_TRUE(moves.empty());
}

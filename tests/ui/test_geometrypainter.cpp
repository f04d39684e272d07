// The mask geometry painter: one geometry's values, flat form and picker
// exchange (NaN from a file included), its pointer rules and resize handles,
// the dialog's slot operations with their write-back, the enable table, the
// shortcuts, the overlay display and menu, the reset question, the flash
// timer and rendering while the engine is busy.

#include "editorfixture.h"
#include "uifixture.h"

#include "document/kernelrunner.h"
#include "engine/views/cropview.h"
#include "ui/editors/HDRGeometryPainter.h"
#include "ui/options/ShortcutHelper.h"
#include "ui/postprocessing/hdrpositionpicker.h"
#include "ui/toolkit/hdrdialogs.h"
#include "ui/toolkit/hdrslider.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

std::vector<unsigned short> Picture(int w, int h)
{
    std::vector<unsigned short> img(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = (size_t(y) * w + x) * 3;
            img[i] = static_cast<unsigned short>(10000 + 50000 * x / w);
            img[i + 1] = static_cast<unsigned short>(10000 + 50000 * y / h);
            img[i + 2] = static_cast<unsigned short>(30000);
        }
    return img;
}

std::vector<float> PickerValues(const HDRPositionPicker& picker)
{
    std::vector<float> v(256);
    picker.GetValues(v.data());
    return v;
}

} // namespace

class GeometryPainterTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        image = Picture(imageWidth, imageHeight);
        painter = new CGeometryPainter(nullptr);
        painter->SetResultSource([this](int* w, int* h) -> const unsigned short* {
            ++reads;
            *w = imageWidth;
            *h = imageHeight;
            return image.data();
        });
        picker = new HDRPositionPicker(HDRPositionPicker::eModeGeometry, QStringLiteral("Maske"));
        QObject::connect(picker, &HDRPositionPicker::valueUpdated, [this] { ++writes; });
    }
    void TearDown() override
    {
        delete painter;
        delete picker;
        UiTest::TearDown();
    }
    void WhileShown(const std::function<void()>& body)
    {
        RunWhileOpen(
            painter, [&] { painter->Show(picker, QStringLiteral("Tonwert")); }, body);
    }
    CGeometryLabel* label() const { return painter->GetLabel(); }
    CGeometry* geo(unsigned i) const { return label()->Geometry(i); }

    int imageWidth = 400, imageHeight = 300;
    std::vector<unsigned short> image;
    CGeometryPainter* painter = nullptr;
    HDRPositionPicker* picker = nullptr;
    int reads = 0;
    int writes = 0;
};

TEST_F(GeometryPainterTest, ValuesFlatFormAndReadingFromThePicker)
{
    SGeometryData empty;
    EXPECT_EQ(empty.iType, 0);
    EXPECT_EQ(float(empty.fIntensity), 0.0f);

    geo(0)->SetDefaults(true);
    float flat[256] = {};
    geo(0)->GetFlatData(flat);
    const float expected[8] = {1.0f, 0.25f, 0.25f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f};
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(flat[i], expected[i]) << i;
    geo(1)->SetDefaults(false);
    geo(1)->GetFlatData(flat);
    EXPECT_FLOAT_EQ(flat[0], 2.0f);

    // The type float rounds; a NaN value from a file reads as 0.
    struct {
        float type;
        int expected;
    } types[] = {{0.5f, 1}, {1.4f, 1}, {1.5f, 2}, {2.4f, 2}, {2.5f, 0}, {std::nanf(""), 0}};
    for (auto c : types) {
        picker->SetGeometry(3, c.type, 0.3f, std::nanf(""), 1.7f, -0.5f, 0.8f, std::nanf(""), 0.4f);
        geo(3)->SetData(picker);
        const SGeometryData& d = geo(3)->GetData();
        EXPECT_EQ(d.iType, c.expected) << c.type;
        EXPECT_FLOAT_EQ(d.fRadiusX, 0.3f);
        EXPECT_EQ(float(d.fRadiusY), 0.0f);
        EXPECT_FLOAT_EQ(d.fSharpness, 1.0f);
        EXPECT_FLOAT_EQ(d.fExponent, 0.0f);
        EXPECT_EQ(float(d.fCenterX), 0.0f);
        EXPECT_EQ(geo(3)->State(), CGeometry::eIdle);
    }

    // Written and read back: the same geometry.
    geo(0)->GetData(picker);
    geo(5)->Reset();
    HDRPositionPicker other(HDRPositionPicker::eModeGeometry, QString());
    float v[8];
    picker->GetGeometry(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], 0);
    other.SetGeometry(5, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    geo(5)->SetData(&other);
    geo(5)->GetFlatData(flat);
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(flat[i], expected[i]) << i;
    geo(5)->SetData(static_cast<HDRPositionPicker const*>(nullptr));
    EXPECT_FALSE(geo(5)->IsInUse());
}

TEST_F(GeometryPainterTest, PressOnAHoveredCentreSelectsAndMovesInOnePress)
{
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        label()->DeselectGeometries();
        painter->Update();
        ASSERT_FALSE(label()->GetImageFrame().IsEmpty());
        const QPoint c = geo(0)->GetCenter();
        SendMouse(label(), QEvent::MouseMove, c + QPoint(3, 2), Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(geo(0)->State(), CGeometry::eHovered);
        SignalCounter finished(geo(0), &CGeometry::SigUpdateGeometry);
        const int before = writes;
        SendMouse(label(), QEvent::MouseButtonPress, c + QPoint(3, 2), Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(geo(0)->State(), CGeometry::eMoving);
        EXPECT_TRUE(geo(0)->IsSelected());
        SendMouse(label(), QEvent::MouseButtonRelease, c + QPoint(3, 2), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(geo(0)->State(), CGeometry::eSelected);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_EQ(writes, before + 1);

        // A drag moves the centre with the pointer.
        SendMouse(label(), QEvent::MouseButtonPress, c, Qt::LeftButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseMove, c + QPoint(-30, 12), Qt::NoButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseButtonRelease, c + QPoint(-30, 12), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(geo(0)->GetCenter(), c + QPoint(-30, 12));
        EXPECT_FLOAT_EQ(picker->X(3), geo(0)->GetData().fCenterX);

        // Selected: a press 9 px outside its dimension rectangle deselects all.
        const _hlp::SRangedRect<int> d = geo(0)->GetDimension();
        SendMouse(label(), QEvent::MouseButtonPress, QPoint(d.Right() + 9, geo(0)->GetCenter().y()), Qt::LeftButton,
                  Qt::LeftButton);
        EXPECT_FALSE(label()->IsGeometrySelected());
        EXPECT_EQ(geo(0)->State(), CGeometry::eIdle);
    });
}

TEST_F(GeometryPainterTest, HandlesKeepARadiusOfAtLeast22Pixels)
{
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->Update();
        CGeometry* g = geo(0);
        const QPoint c = g->GetCenter();
        CSizeHandle* right = g->SizeControl()->Handle(6);
        ASSERT_EQ(right->Flags(), 4u);
        ASSERT_TRUE(right->IsVisible());
        SendMouse(label(), QEvent::MouseMove, right->Pos(), Qt::NoButton, Qt::NoButton);
        EXPECT_TRUE(right->IsHovered());
        SendMouse(label(), QEvent::MouseButtonPress, right->Pos(), Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(g->State(), CGeometry::eResizing);
        SendMouse(label(), QEvent::MouseMove, c - QPoint(40, 0), Qt::NoButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseButtonRelease, c - QPoint(40, 0), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(g->State(), CGeometry::eSelected);
        EXPECT_EQ(g->GetRadius().x(), 22);
        EXPECT_EQ(g->GetCenter(), c);

        // A corner changes both radii, each at least 22 px.
        painter->Update();
        CSizeHandle* corner = g->SizeControl()->Handle(2); // bottom right
        g->SetRadius(QPoint(60, 60));
        painter->Update();
        SendMouse(label(), QEvent::MouseMove, corner->Pos(), Qt::NoButton, Qt::NoButton);
        SendMouse(label(), QEvent::MouseButtonPress, corner->Pos(), Qt::LeftButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseMove, c + QPoint(5, 30), Qt::NoButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseButtonRelease, c + QPoint(5, 30), Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(g->GetRadius(), QPoint(22, 30));

        // An x radius of 20 px hides the corners and the left and right handles.
        g->SetRadius(QPoint(20, 40));
        painter->Update();
        for (unsigned i = 0; i < 8; ++i) {
            const unsigned f = g->SizeControl()->Handle(i)->Flags();
            EXPECT_EQ(g->SizeControl()->Handle(i)->IsVisible(), f == 2 || f == 8) << f;
        }
    });
}

TEST_F(GeometryPainterTest, WithoutGeometriesOnlyAddingFinishingAndDisplayAreOffered)
{
    WhileShown([&] {
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(painter->GetSlider(i)->isEnabled());
        EXPECT_FALSE(painter->GetResetButton()->isEnabled());
        EXPECT_FALSE(painter->GetInvertButton()->isEnabled());
        EXPECT_FALSE(painter->GetDuplicateButton()->isEnabled());
        EXPECT_FALSE(painter->GetDeleteButton()->isEnabled());
        EXPECT_TRUE(painter->GetAddPosButton()->isEnabled());
        EXPECT_TRUE(painter->GetAddNegButton()->isEnabled());
        EXPECT_TRUE(painter->GetFinishButton()->isEnabled());
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(painter->GetDisplayButton(i)->isEnabled());
        EXPECT_TRUE(painter->GetDisplayButton(0)->isChecked());
        EXPECT_EQ(painter->GetTitleLabel()->text(), QStringLiteral("Tonwert"));
        EXPECT_EQ(painter->windowTitle(), QStringLiteral("Geometry Painter"));
    });
}

TEST_F(GeometryPainterTest, AddingTwiceSelectsTheSecondAndWritesBoth)
{
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->GetAddPosButton()->click();
        EXPECT_TRUE(geo(0)->IsInUse());
        EXPECT_TRUE(geo(1)->IsInUse());
        EXPECT_EQ(label()->GetSelectedGeometry(), 1u);
        EXPECT_EQ(painter->GetSlider(0)->GetValueInt(), 50);
        EXPECT_EQ(painter->GetSlider(1)->GetValueInt(), 50);
        EXPECT_EQ(painter->GetSlider(2)->GetValueInt(), 100);
        EXPECT_TRUE(painter->GetSlider(0)->isEnabled());
        const std::vector<float> v = PickerValues(*picker);
        const float expected[8] = {1.0f, 0.25f, 0.25f, 0.5f, 0.5f, 1.0f, 0.5f, 0.5f};
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(v[i], expected[i % 8]) << i;
        EXPECT_FLOAT_EQ(v[16], 0.0f);
        EXPECT_EQ(writes, 2);

        // A finished slider change reaches the geometry and the picker.
        painter->GetSlider(2)->SetValueF(0.3f);
        const int before = writes;
        painter->OnSliderControlFinished();
        EXPECT_NEAR(geo(1)->GetData().fIntensity, 0.3f, 1e-6f);
        EXPECT_NEAR(picker->Y(6), 0.3f, 1e-6f);
        EXPECT_EQ(writes, before + 1);
        // A move in progress is not written back.
        painter->GetSlider(0)->SetValueF(0.8f);
        painter->OnSliderControlUpdated();
        EXPECT_NEAR(geo(1)->GetData().fExponent, 0.8f, 1e-6f);
        EXPECT_EQ(writes, before + 1);
    });
}

TEST_F(GeometryPainterTest, DeleteDuplicateInvert)
{
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->GetAddNegButton()->click();
        painter->GetAddPosButton()->click();
        geo(1)->SetRadius(QPoint(50, 30));
        geo(2)->SetRadius(QPoint(70, 20));
        const SGeometryData second = geo(1)->GetData();
        const SGeometryData third = geo(2)->GetData();
        label()->SelectGeometry(0);
        painter->GetDeleteButton()->click();
        EXPECT_EQ(geo(0)->GetData().iType, SGeometryData::eSubtract);
        EXPECT_FLOAT_EQ(geo(0)->GetData().fRadiusX, second.fRadiusX);
        EXPECT_FLOAT_EQ(geo(1)->GetData().fRadiusX, third.fRadiusX);
        EXPECT_FALSE(geo(2)->IsInUse());
        EXPECT_EQ(label()->GetSelectedGeometry(), 1u);
        EXPECT_FLOAT_EQ(picker->X(8), 0.0f);

        // The copy goes to the centre of the lowest free slot, selected.
        geo(1)->SetPos(geo(1)->GetCenter() + QPoint(40, 40));
        painter->GetDuplicateButton()->click();
        EXPECT_EQ(label()->GetSelectedGeometry(), 2u);
        EXPECT_FLOAT_EQ(geo(2)->GetData().fRadiusX, third.fRadiusX);
        EXPECT_FLOAT_EQ(geo(2)->GetData().fCenterX, 0.5f);
        EXPECT_FLOAT_EQ(geo(2)->GetData().fCenterY, 0.5f);
        EXPECT_FLOAT_EQ(picker->X(8), 1.0f);

        painter->GetInvertButton()->click();
        EXPECT_EQ(geo(2)->GetData().iType, SGeometryData::eSubtract);
        EXPECT_FLOAT_EQ(picker->X(8), 2.0f);
        EXPECT_TRUE(geo(2)->IsSelected());
        painter->GetInvertButton()->click();
        EXPECT_EQ(geo(2)->GetData().iType, SGeometryData::eAdd);
    });
}

TEST_F(GeometryPainterTest, NextAndPreviousWrap)
{
    for (int i = 0; i < 3; ++i)
        geo(unsigned(i))->SetDefaults(true);
    label()->SelectOther(true);
    EXPECT_EQ(label()->GetSelectedGeometry(), 0u);
    label()->DeselectGeometries();
    label()->SelectOther(false);
    EXPECT_EQ(label()->GetSelectedGeometry(), 2u);
    label()->SelectOther(true);
    EXPECT_EQ(label()->GetSelectedGeometry(), 0u);
    label()->SelectOther(false);
    EXPECT_EQ(label()->GetSelectedGeometry(), 2u);
    // A gap leaves the selection as it is.
    geo(1)->Reset();
    label()->SelectGeometry(0);
    label()->SelectOther(true);
    EXPECT_EQ(label()->GetSelectedGeometry(), 0u);
}

TEST_F(GeometryPainterTest, ShortcutsMoveTheSelectedGeometryOnlyWhileThePointerIsOver)
{
    CShortcutHelper helper(QStringLiteral(LUMIVEX_APP_DIR "/settings/shortcuts.ini"));
    painter->CreateShortcuts(&helper);
    // Shift + the right key: number 5 + 1 of the table.
    QShortcut* shiftRight = painter->GetShortcut(6 + 4 + 1);
    ASSERT_NE(shiftRight, nullptr);
    EXPECT_EQ(shiftRight->key(), QKeySequence(Qt::SHIFT | Qt::Key_Right));
    EXPECT_FALSE(shiftRight->autoRepeat());
    ASSERT_NE(painter->GetShortcut(0), nullptr);
    EXPECT_TRUE(painter->GetShortcut(0)->autoRepeat());

    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->Update();
        const int w = label()->GetImageFrame().Width();
        const float expected = float(_hlp::MathRound(0.5f * float(w)) + 5) / float(w);

        // Pointer outside: blocked.
        QMetaObject::invokeMethod(shiftRight, "activated");
        EXPECT_FLOAT_EQ(geo(0)->GetData().fCenterX, 0.5f);

        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(painter, &enter);
        EXPECT_TRUE(painter->ShowGeometries());
        const int before = writes;
        QMetaObject::invokeMethod(shiftRight, "activated");
        EXPECT_FLOAT_EQ(geo(0)->GetData().fCenterX, expected);
        EXPECT_FLOAT_EQ(picker->X(3), expected);
        EXPECT_EQ(writes, before + 1);
        if (w == 400)
            EXPECT_FLOAT_EQ(expected, 0.5125f);
    });
}

TEST_F(GeometryPainterTest, DisplayModeZeroShowsThePlainResult)
{
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->SetShowGeometries(true);
        painter->Update();
        const QImage shown = label()->pixmap().toImage();
        const int vw = label()->width() - 24, vh = label()->height() - 24;
        std::vector<unsigned int> plain(size_t(vw) * vh);
        ASSERT_EQ(MP_UI_previewGeometryViewGeometries(vw, vh, plain.data(), imageWidth, imageHeight, image.data(), 0.5f,
                                                      nullptr, 0),
                  1);
        ASSERT_EQ(shown.width(), vw);
        const QPoint c = geo(0)->GetCenter() - QPoint(12, 12);
        EXPECT_EQ(shown.pixel(c) & 0xFFFFFF, plain[size_t(c.y()) * vw + c.x()] & 0xFFFFFF);
        // Outlines and handles are still drawn over it.
        const QImage grabbed = label()->grab().toImage();
        EXPECT_NE(grabbed.pixel(geo(0)->GetCenter()) & 0xFFFFFF, shown.pixel(c) & 0xFFFFFF);

        painter->GetDisplayButton(2)->click();
        EXPECT_EQ(painter->DisplayGeometriesMode(), 2);
        const QImage overlay = label()->pixmap().toImage();
        EXPECT_NE(overlay.pixel(c) & 0xFFFFFF, plain[size_t(c.y()) * vw + c.x()] & 0xFFFFFF);
        EXPECT_FLOAT_EQ(label()->OverlayList()[0], 1.0f);
    });
}

TEST_F(GeometryPainterTest, OverlayMenuSetsTheStrength)
{
    bool checkedOnReopening = false;
    int asked = 0;
    _gui::SetModalHook([&](QWidget* prompt) {
        auto* menu = qobject_cast<QMenu*>(prompt);
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return 0;
        ++asked;
        const QList<QAction*> actions = menu->actions();
        EXPECT_EQ(actions.size(), 3);
        EXPECT_EQ(actions[2]->text(), QStringLiteral("Darstellung schwach"));
        if (asked == 1) {
            EXPECT_TRUE(actions[1]->isChecked());
            actions[2]->trigger();
        } else {
            checkedOnReopening = actions[2]->isChecked();
        }
        return 0;
    });
    painter->OnContextmenu(-1, QPoint(10, 10));
    EXPECT_EQ(asked, 0);
    painter->OnContextmenu(0, QPoint(10, 200));
    EXPECT_FLOAT_EQ(painter->DisplayGeometriesIntensity(), 0.3f);
    painter->OnContextmenu(0, QPoint(10, 200));
    EXPECT_TRUE(checkedOnReopening);
}

TEST_F(GeometryPainterTest, ResetAsksFirst)
{
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->GetAddNegButton()->click();
        for (bool yes : {false, true}) {
            _gui::SetModalHook([&](QWidget* prompt) {
                auto* box = qobject_cast<HDRMessageBox*>(prompt);
                EXPECT_NE(box, nullptr);
                if (!box)
                    return 0;
                EXPECT_EQ(box->windowTitle(), QStringLiteral("Alle Geometrien löschen"));
                EXPECT_EQ(box->text(), QStringLiteral("Sollen alle Geometrien wirklich gelöscht werden?"));
                (yes ? box->GetYesButton() : box->GetNoButton())->click();
                return 0;
            });
            const int before = writes;
            painter->GetResetButton()->click();
            const std::vector<float> v = PickerValues(*picker);
            if (!yes) {
                EXPECT_EQ(writes, before);
                EXPECT_FLOAT_EQ(v[8], 2.0f);
                EXPECT_TRUE(geo(1)->IsInUse());
            } else {
                EXPECT_EQ(writes, before + 1);
                for (float f : v)
                    EXPECT_EQ(f, 0.0f);
                EXPECT_FALSE(label()->IsGeometryInUse());
            }
        }
    });
}

TEST_F(GeometryPainterTest, TimerFlashesAndRefreshRendersOnlyWhileOpen)
{
    EXPECT_FALSE(painter->Refresh());
    EXPECT_EQ(reads, 0);
    WhileShown([&] {
        label()->OnTimer(1500.0f);
        label()->OnTimer(700.0f);
        EXPECT_NEAR(label()->FlashPhase(), 200.0f, 1e-3f);
        const int before = reads;
        EXPECT_TRUE(painter->Refresh());
        EXPECT_GT(reads, before);
        // A tick repaints without rendering.
        const int afterRefresh = reads;
        painter->OnTimer();
        EXPECT_EQ(reads, afterRefresh);
    });
    // Without a picker nothing is shown.
    CGeometryPainter other(nullptr);
    other.Show(nullptr, QStringLiteral("x"));
    EXPECT_EQ(other.GetPicker(), nullptr);
}

TEST_F(GeometryPainterTest, RenderAskedForWhileTheEngineIsBusyFollowsAfterwards)
{
    WhileShown([&] {
        const qint64 before = label()->pixmap().cacheKey();
        CEngineGuard::Acquire();
        painter->GetAddPosButton()->click();
        EXPECT_EQ(label()->pixmap().cacheKey(), before);
        CEngineGuard::Release();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        EXPECT_NE(label()->pixmap().cacheKey(), before);
    });
}

TEST_F(GeometryPainterTest, ShortcutsTheFileDoesNotDefineAreSkipped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shortcuts.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[GeometryPainter]\nselectNext=PgDown\n");
    file.close();
    CShortcutHelper helper(path);
    painter->CreateShortcuts(&helper);
    EXPECT_EQ(painter->GetShortcut(0), nullptr);
    ASSERT_NE(painter->GetShortcut(2), nullptr);
    for (int i = 3; i < 18; ++i)
        EXPECT_EQ(painter->GetShortcut(i), nullptr) << i;
    WhileShown([&] {
        painter->GetAddPosButton()->click();
        painter->GetAddPosButton()->click();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(painter, &enter);
        QMetaObject::invokeMethod(painter->GetShortcut(2), "activated");
        EXPECT_EQ(label()->GetSelectedGeometry(), 0u);
    });
}

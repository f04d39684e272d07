// The crop and caption window: its selection model with the nine grips, the
// window's layout, rendering, controls and answer, and the caption painter
// the result writer borrows from it.

#include "uifixture.h"

#include "ui/editors/hdrcropwindow.h"
#include "ui/toolkit/resourceinit.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

// ---- selection model ----

// A selection over a 400 x 300 frame at (10, 20): inclusive edges 10..409, 20..319.
class CropSelectionTest : public ::testing::Test {
protected:
    void SetUp() override { SetFrame(10, 20, 410, 320); }
    void SetFrame(int l, int t, int r, int b)
    {
        sel.Reset();
        _hlp::SRangedRect<int> frame;
        frame.SetRange(_hlp::SRange<int>(-1000, 10000), _hlp::SRange<int>(-1000, 10000));
        frame.Set(l, t, r, b);
        sel.SetFrame(frame, -1.0f);
        sel.Update();
    }
    // Hover, press, drag to `to` and release, like a user.
    void DragHandle(int index, QPoint to)
    {
        const QPoint from = sel.Handle(index)->GetPos();
        sel.OnMouseMoveEvent(from, Qt::NoButton);
        sel.OnMousePressEvent(from, Qt::LeftButton);
        ASSERT_EQ(sel.GetActiveHandle(), sel.Handle(index));
        sel.OnMouseMoveEvent(to, Qt::LeftButton);
        sel.OnMouseReleaseEvent(to, Qt::LeftButton);
    }
    QRect Rect() const
    {
        const auto& s = sel.Selection();
        return QRect(QPoint(s.Left(), s.Top()), QPoint(s.Right(), s.Bottom()));
    }
    CCropSelection sel;
};

TEST_F(CropSelectionTest, FrameTakenOnceWithTheWholeFrameSelected)
{
    EXPECT_EQ(sel.Frame().Left(), 10);
    EXPECT_EQ(sel.Frame().Right(), 409); // inclusive edges
    EXPECT_EQ(sel.Frame().Bottom(), 319);
    EXPECT_EQ(Rect(), QRect(QPoint(10, 20), QPoint(409, 319)));
    EXPECT_FALSE(sel.HasSelection());
    const _hlp::SRangedRectRel rel = sel.GetRel();
    EXPECT_EQ(QRectF(QPointF(rel.Left(), rel.Top()), QPointF(rel.Right(), rel.Bottom())), QRectF(0, 0, 1, 1));

    // A later frame (a re-render) changes nothing.
    _hlp::SRangedRect<int> other;
    other.SetRange(_hlp::SRange<int>(0, 1000), _hlp::SRange<int>(0, 1000));
    other.Set(0, 0, 100, 100);
    sel.SetFrame(other, 2.0f);
    EXPECT_EQ(sel.Frame().Right(), 409);
    EXPECT_FLOAT_EQ(sel.Aspect(), -1.0f);

    // The grips of the table, all enabled.
    const QPoint expected[9] = {{10, 20},  {409, 20},  {409, 319}, {10, 319}, {209, 20},
                                {209, 319}, {10, 169}, {409, 169}, {209, 169}};
    const unsigned int alignments[9] = {3, 6, 12, 9, 2, 8, 1, 4, 16};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(sel.Handle(i)->GetPos(), expected[i]) << i;
        EXPECT_EQ(sel.Handle(i)->GetAlignment(), alignments[i]) << i;
        EXPECT_TRUE(sel.Handle(i)->IsEnabled()) << i;
    }
}

TEST_F(CropSelectionTest, ResizeStopsFortyPixelsBeforeTheOppositeEdgeAndAtTheFrame)
{
    struct Case {
        int handle;
        QPoint to;
        QRect expected;
    };
    const Case cases[] = {
        {2, {5000, 5000}, QRect(QPoint(10, 20), QPoint(409, 319))},   // beyond the frame: the frame
        {2, {300, 250}, QRect(QPoint(10, 20), QPoint(300, 250))},     // bottom right corner
        {0, {1000, 1000}, QRect(QPoint(260, 210), QPoint(300, 250))}, // to and past the opposite corner
        {0, {-50, -50}, QRect(QPoint(10, 20), QPoint(300, 250))},     // back out to the frame
        {4, {0, 240}, QRect(QPoint(10, 210), QPoint(300, 250))},      // top edge: y only
        {7, {30, 0}, QRect(QPoint(10, 210), QPoint(50, 250))},        // right edge: x only, minimum width
    };
    for (const Case& c : cases) {
        DragHandle(c.handle, c.to);
        EXPECT_EQ(Rect(), c.expected) << c.handle << " to " << c.to.x() << "," << c.to.y();
    }
    EXPECT_TRUE(sel.HasSelection());
    const _hlp::SRangedRectRel rel = sel.GetRel();
    EXPECT_FLOAT_EQ(rel.Left(), 0.0f);
    EXPECT_FLOAT_EQ(rel.Top(), 190.0f / 299.0f);
    EXPECT_FLOAT_EQ(rel.Right(), 40.0f / 399.0f);
    EXPECT_FLOAT_EQ(rel.Bottom(), 230.0f / 299.0f);
}

TEST_F(CropSelectionTest, CentreMovesOnlyADifferentSelectionAndSlidesAlongEdges)
{
    // The whole frame cannot be moved: the centre grip does not take hold.
    const QPoint centre = sel.Handle(8)->GetPos();
    sel.OnMouseMoveEvent(centre, Qt::NoButton);
    EXPECT_FALSE(sel.Handle(8)->IsHovered());
    sel.OnMousePressEvent(centre, Qt::LeftButton);
    EXPECT_FALSE(sel.IsHandleActive());
    sel.OnMouseReleaseEvent(centre, Qt::LeftButton);

    DragHandle(2, {209, 169}); // 200 x 150 at the top left
    ASSERT_EQ(Rect(), QRect(QPoint(10, 20), QPoint(209, 169)));
    // Grabbed off centre: the grab offset is kept while moving.
    const QPoint grab = sel.Handle(8)->GetPos() + QPoint(7, -3);
    sel.OnMouseMoveEvent(grab, Qt::NoButton);
    EXPECT_TRUE(sel.Handle(8)->IsHovered());
    sel.OnMousePressEvent(grab, Qt::LeftButton);
    ASSERT_EQ(sel.GetActiveHandle(), sel.Handle(8));
    sel.OnMouseMoveEvent(grab + QPoint(50, 40), Qt::LeftButton);
    EXPECT_EQ(Rect(), QRect(QPoint(60, 60), QPoint(259, 209)));
    // Against the right edge and far down: the size stays, it slides.
    sel.OnMouseMoveEvent(grab + QPoint(900, 60), Qt::LeftButton);
    EXPECT_EQ(Rect(), QRect(QPoint(210, 80), QPoint(409, 229)));
    sel.OnMouseMoveEvent(grab + QPoint(-900, 900), Qt::LeftButton);
    EXPECT_EQ(Rect(), QRect(QPoint(10, 170), QPoint(209, 319)));
    // Leaving the view ends the drag; the selection stays where it is.
    sel.OnLeaveEvent();
    EXPECT_FALSE(sel.IsHandleActive());
    sel.OnMouseMoveEvent(grab, Qt::LeftButton);
    EXPECT_EQ(Rect(), QRect(QPoint(10, 170), QPoint(209, 319)));
}

TEST_F(CropSelectionTest, HoverPressAndRelease)
{
    CCropHandle* corner = sel.Handle(0);
    // Nine pixels away hovers, ten do not; a held button changes no hover.
    sel.OnMouseMoveEvent(QPoint(10 + 9, 20), Qt::NoButton);
    EXPECT_TRUE(corner->IsHovered());
    sel.OnMouseMoveEvent(QPoint(10 + 6, 20 + 8), Qt::NoButton); // 10 px
    EXPECT_FALSE(corner->IsHovered());
    sel.OnMouseMoveEvent(QPoint(12, 22), Qt::LeftButton);
    EXPECT_FALSE(corner->IsHovered());
    // The right button grabs nothing.
    sel.OnMouseMoveEvent(QPoint(12, 22), Qt::NoButton);
    sel.OnMousePressEvent(QPoint(12, 22), Qt::RightButton);
    EXPECT_FALSE(sel.IsHandleActive());
    sel.OnMousePressEvent(QPoint(12, 22), Qt::LeftButton);
    EXPECT_TRUE(corner->IsActive());
    EXPECT_EQ(corner->GetOffset(), QPoint(2, 2));
    // Release clears the drag and looks at the hover again.
    sel.OnMouseReleaseEvent(QPoint(12, 22), Qt::LeftButton);
    EXPECT_FALSE(corner->IsActive());
    EXPECT_EQ(corner->GetOffset(), QPoint());
    EXPECT_TRUE(corner->IsHovered());
    sel.OnLeaveEvent();
    EXPECT_FALSE(corner->IsHovered());
}

TEST_F(CropSelectionTest, NarrowFramesDisableTheGripsThatCannotWork)
{
    SetFrame(0, 0, 30, 300); // 29 px wide (inclusive edges)
    for (int i = 0; i < 9; ++i) {
        const unsigned int a = sel.Handle(i)->GetAlignment();
        const bool horizontalOnly = a == CCropHandle::eA_TOP || a == CCropHandle::eA_BOTTOM;
        EXPECT_EQ(sel.Handle(i)->IsEnabled(), horizontalOnly || a == CCropHandle::eA_CENTER) << i;
    }
    // A disabled grip neither hovers nor paints.
    sel.OnMouseMoveEvent(sel.Handle(0)->GetPos(), Qt::NoButton);
    EXPECT_FALSE(sel.Handle(0)->IsHovered());

    // An empty frame is not taken; the next one is.
    SetFrame(0, 0, 1, 100);
    EXPECT_TRUE(sel.Frame().IsEmpty());
    EXPECT_FALSE(sel.HasSelection());
    _hlp::SRangedRect<int> frame;
    frame.SetRange(_hlp::SRange<int>(0, 1000), _hlp::SRange<int>(0, 1000));
    frame.Set(0, 0, 100, 100);
    sel.SetFrame(frame, -1.0f);
    EXPECT_EQ(sel.Frame().Right(), 99);
}

TEST_F(CropSelectionTest, GripsAreDrawnAsTheirPolygons)
{
    QImage image(420, 340, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        sel.OnPaint(painter);
    }
    // The top left bracket: grey 160 inside its arms, nothing beyond them.
    EXPECT_EQ(image.pixel(10 + 5, 20), qRgb(160, 160, 160));
    EXPECT_EQ(image.pixel(10, 20 + 5), qRgb(160, 160, 160));
    EXPECT_EQ(image.pixel(10 + 6, 20 + 6), qRgb(0, 0, 0));
    // The right bar is upright, the bottom bar lies flat.
    EXPECT_EQ(image.pixel(409 + 2, 169 + 6), qRgb(160, 160, 160));
    EXPECT_EQ(image.pixel(209 + 6, 319 + 2), qRgb(160, 160, 160));
    // A hovered grip is white; while one is dragged none is drawn.
    sel.OnMouseMoveEvent(QPoint(10, 20), Qt::NoButton);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        sel.OnPaint(painter);
    }
    EXPECT_EQ(image.pixel(10 + 5, 20), qRgb(255, 255, 255));
    sel.OnMousePressEvent(QPoint(10, 20), Qt::LeftButton);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        sel.OnPaint(painter);
    }
    EXPECT_EQ(image.pixel(409 + 2, 169 + 6), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(100, 20), qRgb(0, 0, 0)); // the outline stays
}

// ---- the window ----

// A 300 x 200 photograph: a warm gradient with a blue square.
std::vector<unsigned short> Photo(int w, int h)
{
    std::vector<unsigned short> px(size_t(w) * size_t(h) * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned short* p = &px[(size_t(y) * size_t(w) + size_t(x)) * 3];
            const bool square = x > w / 2 && x < w * 3 / 4 && y > h / 4 && y < h / 2;
            p[0] = square ? 5000 : static_cast<unsigned short>(20000 + 150 * x);
            p[1] = square ? 9000 : static_cast<unsigned short>(15000 + 100 * y);
            p[2] = square ? 60000 : 9000;
        }
    return px;
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

class CropWindowTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        LumivexInitResources();
        image = Photo(imageW, imageH);
        window = std::make_unique<CCropWindow>(nullptr, QSize(800, 500)); // view 492 x 312
        window->SetImageSource([this](int* w, int* h) -> const unsigned short* {
            ++renders;
            *w = haveImage ? imageW : 0;
            *h = haveImage ? imageH : 0;
            return haveImage ? image.data() : nullptr;
        });
    }
    // Runs the window with the hook doing `act` and then pressing `finish`.
    SCropResult Run(const std::function<void()>& act, QPushButton* finish, bool close = true)
    {
        _gui::SetModalHook([&](QWidget* prompt) {
            EXPECT_EQ(prompt, window.get());
            window->setResult(QDialog::Rejected); // as exec starts
            window->show();                        // renders the view, as exec does
            if (act)
                act();
            if (finish)
                finish->click();
            else if (close)
                window->close();
            return window->result();
        });
        return window->Show();
    }
    CCropLabel* label() const { return window->m_pCropLabel; }
    void Drag(QPoint from, QPoint to)
    {
        SendMouse(label(), QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        SendMouse(label(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        SendMouse(label(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

    const int imageW = 300, imageH = 200;
    std::vector<unsigned short> image;
    bool haveImage = true;
    int renders = 0;
    std::unique_ptr<CCropWindow> window;
};

TEST_F(CropWindowTest, SizesFollowTheScreen)
{
    EXPECT_EQ(CCropWindow::ViewSizeForScreen(QSize(1920, 1200)), QSize(1164, 732));
    EXPECT_EQ(CCropWindow::CaptionEditWidth(1164), 587);
    EXPECT_EQ(CCropWindow::CaptionEditWidth(493), 50);
    EXPECT_EQ(CCropWindow::CaptionEditWidth(100), 50);

    CCropWindow big(nullptr, QSize(1920, 1200));
    EXPECT_EQ(big.objectName(), QStringLiteral("crop_window"));
    EXPECT_EQ(big.windowTitle(), QStringLiteral("Crop Window Title"));
    EXPECT_EQ(big.m_pCropLabel->size(), QSize(1164, 732));
    EXPECT_EQ(big.m_pSubTitleEdit->width(), 587);
    EXPECT_EQ(big.m_pSubTitleEdit->maxLength(), 1000);
    EXPECT_TRUE(big.m_pCropLabel->hasMouseTracking());
    EXPECT_EQ(big.windowModality(), Qt::WindowModal);
    EXPECT_FALSE(big.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    struct Control {
        QWidget* widget;
        const char* key;
        const char* icon;
    };
    const Control controls[] = {
        {big.m_pSubTitleEdit, "tooltip Crop Window SubTitle", nullptr},
        {big.m_pBackgroundButton, "tooltip Crop Window Background", "CropTextBackground"},
        {big.m_pSizeSmallButton, "tooltip Crop Window Font Small", "CropTextSmall"},
        {big.m_pSizeMediumButton, "tooltip Crop Window Font Normal", "CropTextMedium"},
        {big.m_pSizeLargeButton, "tooltip Crop Window Font Large", "CropTextLarge"},
        {big.m_pPositionBottomButton, "tooltip Crop Window Position Bottom", "CropTextBottom"},
        {big.m_pPositionTopButton, "tooltip Crop Window Position Top", "CropTextTop"},
        {big.m_pResetButton, "tooltip Crop Window Reset", nullptr},
        {big.m_pSaveButton, "tooltip Crop Window Speichern", nullptr},
        {big.m_pCancelButton, "tooltip Crop Window Abbrechen", nullptr},
    };
    for (const Control& c : controls) {
        EXPECT_EQ(c.widget->toolTip(), QStringLiteral("<H3><p>%1</p></H3><p></p>").arg(QLatin1String(c.key)));
        if (!c.icon)
            continue;
        EXPECT_TRUE(QIcon::hasThemeIcon(QLatin1String(c.icon))) << c.icon;
        EXPECT_EQ(c.widget->size(), QSize(30, 30)) << c.icon;
    }
    for (QPushButton* b : {big.m_pResetButton, big.m_pSaveButton, big.m_pCancelButton})
        EXPECT_EQ(b->size(), QSize(106, 34));
    EXPECT_EQ(big.m_pSaveButton->text(), QStringLiteral("Speichern"));
    EXPECT_EQ(big.m_pCancelButton->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(big.m_pSizeGroup->id(big.m_pSizeLargeButton), 2);
    EXPECT_EQ(big.m_pPositionGroup->id(big.m_pPositionTopButton), 1);
}

TEST_F(CropWindowTest, UntouchedWindowAnswersTheWholeImageWithTheCaptionSettings)
{
    const SCropResult result = Run(nullptr, window->m_pSaveButton);
    EXPECT_FALSE(result.bCancelled);
    EXPECT_FALSE(result.cropData.bHasSelection);
    EXPECT_FLOAT_EQ(result.cropData.rcCrop.Right(), 1.0f);
    EXPECT_FLOAT_EQ(result.cropData.rcCrop.Bottom(), 1.0f);
    EXPECT_TRUE(result.cropData.bTextBottom);
    EXPECT_EQ(result.cropData.iTextSize, 1);
    EXPECT_TRUE(result.cropData.strText.isEmpty());
    EXPECT_EQ(result.cropData.strFont, QStringLiteral("Arial"));
    // The view shows the picture fitted: 300 x 200 into 492 x 312 is 468 x 312.
    EXPECT_FALSE(label()->pixmap().isNull());
    const _hlp::SRangedRect<int>& frame = label()->ImageFrame();
    EXPECT_EQ(frame.Top(), 6);
    EXPECT_EQ(frame.Bottom(), 312 - 6);
    EXPECT_NEAR(frame.Left(), 6 + 12, 1);
    EXPECT_NEAR(frame.Right(), 492 - 6 - 12, 1);

    // Return in the caption edit saves and keeps the background as it was.
    const SCropResult typed = Run(
        [this] {
            window->m_pSubTitleEdit->setFocus();
            window->m_pSubTitleEdit->setText(QStringLiteral("Abend"));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(window->m_pSubTitleEdit, &press);
        },
        nullptr, false);
    EXPECT_FALSE(typed.bCancelled);
    EXPECT_EQ(typed.cropData.strText, QStringLiteral("Abend"));
    EXPECT_FALSE(typed.cropData.bTextBackground);

    // The close button and the cancel button both cancel.
    EXPECT_TRUE(Run(nullptr, nullptr).bCancelled);
    EXPECT_TRUE(Run(nullptr, window->m_pCancelButton).bCancelled);
}

TEST_F(CropWindowTest, DraggedSelectionAndCaptionComeBackAndSurviveTheNextShow)
{
    const SCropResult result = Run(
        [this] {
            const auto& s = label()->Selection().Selection();
            Drag(QPoint(s.Left(), s.Top()), QPoint(s.Left() + 100, s.Top() + 50));
            window->m_pSubTitleEdit->setText(QStringLiteral("Abendrot"));
            window->m_pBackgroundButton->click();
            window->m_pSizeLargeButton->click();
            window->m_pPositionTopButton->click();
        },
        window->m_pSaveButton);
    ASSERT_FALSE(result.bCancelled);
    EXPECT_TRUE(result.cropData.bHasSelection);
    const _hlp::SRangedRect<int>& f = label()->Selection().Frame();
    EXPECT_FLOAT_EQ(result.cropData.rcCrop.Left(), 100.0f / float(f.Width()));
    EXPECT_FLOAT_EQ(result.cropData.rcCrop.Top(), 50.0f / float(f.Height()));
    EXPECT_FLOAT_EQ(result.cropData.rcCrop.Right(), 1.0f);
    EXPECT_EQ(result.cropData.strText, QStringLiteral("Abendrot"));
    EXPECT_TRUE(result.cropData.bTextBackground);
    EXPECT_EQ(result.cropData.iTextSize, 2);
    EXPECT_FALSE(result.cropData.bTextBottom);

    // Shown again: selection and caption are still there.
    const SCropResult again = Run(nullptr, window->m_pSaveButton);
    EXPECT_TRUE(again.cropData.bHasSelection);
    EXPECT_FLOAT_EQ(again.cropData.rcCrop.Left(), result.cropData.rcCrop.Left());
    EXPECT_EQ(again.cropData.strText, QStringLiteral("Abendrot"));

    // A double click inside the selection gives the whole image back.
    const SCropResult cleared = Run(
        [this] {
            const QPoint inside = label()->Selection().Handle(8)->GetPos();
            SendMouse(label(), QEvent::MouseButtonDblClick, inside, Qt::LeftButton, Qt::LeftButton);
        },
        window->m_pSaveButton);
    EXPECT_FALSE(cleared.cropData.bHasSelection);
    EXPECT_FALSE(label()->Selection().Frame().IsEmpty()); // taken again by the render
}

TEST_F(CropWindowTest, ControlsReRenderAndResetRestoresTheDefaults)
{
    window->Update();
    window->m_pSubTitleEdit->setText(QStringLiteral("Text"));
    window->m_pBackgroundButton->click();
    window->m_pSizeSmallButton->click();
    window->m_pPositionTopButton->click();
    const auto& s = label()->Selection().Selection();
    Drag(QPoint(s.Right(), s.Bottom()), QPoint(200, 200));
    ASSERT_TRUE(label()->HasSelection());

    // A press on the button already chosen still renders.
    int before = renders;
    window->m_pPositionTopButton->click();
    EXPECT_EQ(renders, before + 1);
    EXPECT_FALSE(window->GetCropData().bTextBottom);

    // Reset() alone does not render; the Reset button does.
    before = renders;
    window->Reset();
    EXPECT_EQ(renders, before);
    window->m_pSubTitleEdit->setText(QStringLiteral("Text"));
    window->m_pSizeSmallButton->click();
    before = renders;
    window->m_pResetButton->click();
    EXPECT_EQ(renders, before + 1);
    const SCropData& data = window->GetCropData();
    EXPECT_TRUE(data.strText.isEmpty());
    EXPECT_TRUE(window->m_pSubTitleEdit->text().isEmpty());
    EXPECT_FALSE(data.bTextBackground);
    EXPECT_FALSE(window->m_pBackgroundButton->isChecked());
    EXPECT_TRUE(data.bTextBottom);
    EXPECT_TRUE(window->m_pPositionBottomButton->isChecked());
    EXPECT_EQ(data.iTextSize, 1);
    EXPECT_TRUE(window->m_pSizeMediumButton->isChecked());
    EXPECT_FALSE(label()->HasSelection());
    EXPECT_FALSE(label()->Selection().Frame().IsEmpty());
}

TEST_F(CropWindowTest, ViewDarkensOutsideTheSelectionAndPreviewsTheCaption)
{
    window->Update();
    const auto& s = label()->Selection().Selection();
    Drag(QPoint(s.Left(), s.Top()), QPoint(s.Left() + 150, s.Top() + 60));
    window->m_pSubTitleEdit->setText(QStringLiteral("MMMM"));
    window->m_pBackgroundButton->click();
    const QImage shot = label()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const _hlp::SRangedRect<int>& f = label()->Selection().Frame();
    // Left of the selection: dimmed grey; inside: the picture's colours.
    const QRgb outside = shot.pixel(f.Left() + 40, f.Top() + 150);
    EXPECT_EQ(qRed(outside), qGreen(outside));
    EXPECT_EQ(qGreen(outside), qBlue(outside));
    const QRgb inside = shot.pixel(f.Left() + 200, f.Top() + 200);
    EXPECT_GT(qRed(inside), qBlue(inside) + 20);
    // The caption preview: white ink near the bottom centre of the selection.
    int white = 0;
    const int cx = (s.Left() + s.Right()) / 2;
    for (int y = s.Bottom() - 60; y < s.Bottom(); ++y)
        for (int x = cx - 60; x < cx + 60; ++x) {
            const QRgb p = shot.pixel(x, y);
            white += std::min({qRed(p), qGreen(p), qBlue(p)}) >= 200;
        }
    EXPECT_GT(white, 20);

    // Without a picture the view keeps its last one.
    haveImage = false;
    const QPixmap last = label()->pixmap();
    window->Update();
    EXPECT_EQ(label()->pixmap().cacheKey(), last.cacheKey());
}

TEST_F(CropWindowTest, CaptionPainterDrawsOnTheWholeDeviceWithoutABox)
{
    auto paint = [this](const SCropData& data) {
        QImage mask(300, 200, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter painter(&mask);
        window->DrawText(painter, data);
        return mask;
    };
    SCropData data;
    data.strText = QStringLiteral("Lumivex");
    const QImage plain = paint(data);
    int ink = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            ink += (plain.pixel(x, y) & 0xffffffu) != 0;
    EXPECT_GT(ink, 30);
    // The writer's mask never gets the box: it darkens the pixels itself.
    data.bTextBackground = true;
    EXPECT_EQ(paint(data), plain);
}

// Renders the window under a dark and a light style with a photograph
// (LUMIVEX_RENDER_PHOTO, else the test picture), a selection and a caption;
// with LUMIVEX_RENDER_DIR set the pictures are kept there for a look.
TEST_F(CropWindowTest, RendersUnderDarkAndLightStyles)
{
    const QImage photo(QString::fromLocal8Bit(qgetenv("LUMIVEX_RENDER_PHOTO")));
    std::vector<unsigned short> pixels;
    int pw = imageW, ph = imageH;
    if (!photo.isNull()) {
        const QImage rgb = photo.convertToFormat(QImage::Format_RGB888);
        pw = rgb.width();
        ph = rgb.height();
        pixels.resize(size_t(pw) * size_t(ph) * 3);
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw * 3; ++x)
                pixels[size_t(y) * size_t(pw) * 3 + size_t(x)] = uint16_t(rgb.constScanLine(y)[x] * 257);
    } else {
        pixels = image;
    }
    const QByteArray dir = qgetenv("LUMIVEX_RENDER_DIR");
    struct Style {
        const char* name;
        int code, colour;
    } styles[] = {{"dark", 1, 0}, {"light", 99, 0xd0d0d0}};
    for (const Style& st : styles)
        for (const QSize screen : {QSize(1920, 1200), QSize(800, 600)}) {
        CStyleEngine::instance().SetStyle(st.code, st.colour, true);
        QWidget owner;
        CStyleEngine::instance().SetStyleSheetFromCSS(&owner);
        CCropWindow crop(&owner, screen);
        crop.SetImageSource([&](int* w, int* h) -> const unsigned short* {
            *w = pw;
            *h = ph;
            return pixels.data();
        });
        crop.show();
        const auto& s = crop.m_pCropLabel->Selection().Selection();
        const QPoint corner(s.Left(), s.Top());
        SendMouse(crop.m_pCropLabel, QEvent::MouseMove, corner, Qt::NoButton, Qt::NoButton);
        SendMouse(crop.m_pCropLabel, QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
        SendMouse(crop.m_pCropLabel, QEvent::MouseMove, corner + QPoint(90, 60), Qt::NoButton, Qt::LeftButton);
        SendMouse(crop.m_pCropLabel, QEvent::MouseButtonRelease, corner + QPoint(90, 60), Qt::LeftButton,
                  Qt::NoButton);
        crop.m_pSubTitleEdit->setText(QStringLiteral("Sommerabend am See"));
        crop.m_pBackgroundButton->click();
        const QPixmap shot = crop.grab();
        EXPECT_FALSE(shot.isNull());
        // The controls fit below the view, nothing is cut off at the right.
        EXPECT_LE(crop.m_pCancelButton->geometry().right(), crop.width());
        EXPECT_GE(crop.m_pSubTitleEdit->geometry().top(), crop.m_pCropLabel->geometry().bottom());
        if (!dir.isEmpty())
            shot.save(QString::fromLocal8Bit(dir) +
                      QStringLiteral("/cropwindow_%1_%2.png").arg(QLatin1String(st.name)).arg(screen.width()));
        crop.hide();
    }
}

} // namespace

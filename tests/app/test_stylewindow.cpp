// The style colour dialog: the bright switch found from the colour, the
// pointer fractions, confirm and discard.

#include "appfixture.h"

#include "app/hdrstyleselectwindow.h"
#include "engine/draw/painters.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>

namespace {

class StyleWindowTest : public AppTest {};

void press(QWidget* w, QPointF at, QEvent::Type type = QEvent::MouseButtonPress)
{
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

TEST_F(StyleWindowTest, BrightSwitchFollowsTheChannelSum)
{
    HDRStyleSelectWindow dialog(nullptr);
    dialog.SetData(0x808080, true); // sum 384
    dialog.show();
    EXPECT_TRUE(dialog.m_pBrightCheckBox->isChecked());
    dialog.close();
    dialog.SetData(0x7F8080, true); // sum 383
    dialog.show();
    EXPECT_FALSE(dialog.m_pBrightCheckBox->isChecked());
    dialog.close();
}

TEST_F(StyleWindowTest, PointerFractionsStayInsideTheField)
{
    HDRStyleSelectWindow dialog(nullptr);
    dialog.SetData(0x5f5f5f, true);
    dialog.show();
    QWidget* field = dialog.m_pColorSelectLabel;
    press(field, QPointF(35, 15));
    EXPECT_FLOAT_EQ(dialog.m_fPosX, 0.1f);
    EXPECT_FLOAT_EQ(dialog.m_fPosY, 0.1f);
    press(field, QPointF(-50, 400), QEvent::MouseMove);
    EXPECT_FLOAT_EQ(dialog.m_fPosX, 0.001f);
    EXPECT_FLOAT_EQ(dialog.m_fPosY, 0.999f);
    press(field, QPointF(900, -3), QEvent::MouseMove);
    EXPECT_FLOAT_EQ(dialog.m_fPosX, 0.999f);
    EXPECT_FLOAT_EQ(dialog.m_fPosY, 0.001f);
    // The colour under the marker is the field's colour there.
    std::vector<uint32_t> field2(350 * 150);
    EXPECT_EQ(dialog.m_iNewColor,
              MP_UI_paintStyleColorSelect(field2.data(), 350, 150, 350, dialog.m_pBrightCheckBox->isChecked() ? 1 : 0,
                                          0.999f, 0.001f));
    // The swatch shows it.
    const QImage swatch = dialog.m_pColorLabel->pixmap().toImage();
    ASSERT_FALSE(swatch.isNull());
    EXPECT_EQ(swatch.pixel(75, 75) & 0xFFFFFFu, static_cast<uint32_t>(dialog.m_iNewColor));
    // Clicks on the swatch do nothing.
    const int before = dialog.m_iNewColor;
    press(dialog.m_pColorLabel, QPointF(10, 10));
    EXPECT_EQ(dialog.m_iNewColor, before);
    dialog.close();
}

TEST_F(StyleWindowTest, DiscardKeepsTheDataAndConfirmTakesThePick)
{
    HDRStyleSelectWindow dialog(nullptr);
    dialog.SetData(0x5f5f5f, true);
    dialog.show();
    dialog.styleColorSelected(0.3f, 0.2f);
    dialog.m_pRoundCheckBox->click();
    dialog.m_pDiscardButton->click();
    EXPECT_EQ(dialog.ConfirmedColor(), 0x5f5f5f);
    EXPECT_TRUE(dialog.ConfirmedBorder());
    EXPECT_FALSE(dialog.isVisible());

    // Only the rounded design switched: the flag differs, the caller switches
    // to the free style.
    dialog.SetData(0x5f5f5f, true);
    dialog.show();
    const int found = dialog.m_iNewColor;
    dialog.m_pRoundCheckBox->click();
    dialog.m_pConfirmButton->click();
    EXPECT_FALSE(dialog.ConfirmedBorder());
    EXPECT_EQ(dialog.ConfirmedColor(), found);

    // Brighter at the same place.
    dialog.SetData(0x404040, false);
    dialog.show();
    const int dark = dialog.m_iNewColor;
    dialog.m_pBrightCheckBox->click();
    EXPECT_NE(dialog.m_iNewColor, dark);
    EXPECT_GT(dialog.m_iNewColor & 0xff, dark & 0xff);
    dialog.close();
}

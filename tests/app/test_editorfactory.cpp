// The window factory makes the two editors the main window holds, each with
// the object name the style sheets and window state know it by.

#include "appfixture.h"

#include "app/windowfactory.h"
#include "ui/editors/HDRGeometryPainter.h"
#include "ui/editors/HDRStencilPainter.h"

#include <memory>

TEST_F(AppTest, FactoryMakesBothEditors)
{
    CAppWindowFactory factory;
    std::unique_ptr<IStencilPainter> stencil(factory.CreateStencilPainter(nullptr));
    auto* stencilDialog = dynamic_cast<CStencilPainter*>(stencil.get());
    ASSERT_NE(stencilDialog, nullptr);
    EXPECT_EQ(stencilDialog->objectName(), QStringLiteral("stencil_painter_window"));
    stencil->Clear();
    EXPECT_EQ(stencilDialog->GetNumStencils(), 0u);

    std::unique_ptr<IGeometryPainter> geometry(factory.CreateGeometryPainter(nullptr));
    auto* geometryDialog = dynamic_cast<CGeometryPainter*>(geometry.get());
    ASSERT_NE(geometryDialog, nullptr);
    EXPECT_EQ(geometryDialog->objectName(), QStringLiteral("geometry_painter_window"));
    // Closed, a refresh after a chain run renders nothing.
    EXPECT_FALSE(geometry->Refresh());
}

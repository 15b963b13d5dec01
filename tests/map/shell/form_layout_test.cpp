// The window's layout in twips on a 96 dpi screen (15 twips per pixel).

#include <QFrame>

#include "form_fixture.hpp"
#include "layout_rules.hpp"
#include "map_layers.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell::test {
namespace {

class FormLayoutTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    showForm();
    ASSERT_EQ(form->twipsPerPixel(), 15.0) << "the offscreen screen is expected at 96 dpi";
  }
};

TEST_F(FormLayoutTest, SetPixelSize400EndsAtTheWorkedSizes) {
  form->SetPixelSize(400);
  EXPECT_EQ(form->surfaceWidthTwips(), 6100.0);
  EXPECT_EQ(form->windowWidthTwips(), 7260.0);
  EXPECT_EQ(form->windowHeightTwips(), 6620.0);
  EXPECT_EQ(form->width(), 484);
  EXPECT_EQ(form->height(), 441);
  EXPECT_EQ(form->controls().Picture1->width(), 407);
  // The map fills the surface inside its border, and the scale follows it.
  EXPECT_EQ(form->layers().width(), 407 - 2 * kSurfaceBorderPixels);
  EXPECT_EQ(form->state().plane.PictureWidthPx, 403);
  EXPECT_EQ(form->state().SavedWidth, 7260);
  EXPECT_EQ(form->state().SavedHeight, 6620);
}

TEST_F(FormLayoutTest, WideningBy150TwipsGrowsTheSquareAndTheHeight) {
  const double surface = form->surfaceWidthTwips();
  const double height = form->windowHeightTwips();
  form->resize(form->width() + 10, form->height());
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  EXPECT_EQ(form->windowHeightTwips(), height + 150.0);
  // Dragging the height alone is undone: the height follows from the width.
  form->resize(form->width(), form->height() + 50);
  EXPECT_EQ(form->windowHeightTwips(), height + 150.0);
}

TEST_F(FormLayoutTest, MinimisedWindowIsLeftAloneAndRestoringRunsTheRule) {
  const double surface = form->surfaceWidthTwips();
  form->setWindowState(Qt::WindowMinimized);
  form->resize(form->width() + 20, form->height());
  EXPECT_EQ(form->surfaceWidthTwips(), surface);
  form->setWindowState(Qt::WindowNoState);
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 300.0);
}

TEST_F(FormLayoutTest, NarrowWindowKeepsAUsableSurface) {
  form->resize(10, 10);
  EXPECT_GE(form->width(), form->minimumWidth());
  const QSize panel = form->controls().FrameSetup->sizeHint();
  EXPECT_GE(form->layers().width(), std::max(panel.width(), panel.height()));
  EXPECT_GT(form->surfaceWidthTwips(), 0.0);
  EXPECT_EQ(form->windowHeightTwips(), 120.0 + form->surfaceWidthTwips() + 400.0);
}

TEST_F(FormLayoutTest, HostSetsPositionAndSizeInTwips) {
  form->setWindowWidthTwips(9000.0);
  EXPECT_EQ(form->surfaceWidthTwips(), 9000.0 - 960.0 - 200.0);
  EXPECT_EQ(form->windowHeightTwips(), 120.0 + 7840.0 + 400.0);
  form->setWindowHeightTwips(3000.0);  // the height follows from the width
  EXPECT_EQ(form->windowHeightTwips(), 8360.0);
  form->setWindowLeftTwips(1500.0);
  form->setWindowTopTwips(750.0);
  EXPECT_EQ(form->windowLeftTwips(), 1500.0);
  EXPECT_EQ(form->windowTopTwips(), 750.0);
  EXPECT_EQ(form->pos(), QPoint(100, 50));
}

TEST_F(FormLayoutTest, ResizeRescalesTheMapAndClearsTheMapLayer) {
  form->state().plane.MaxDx = 1000;
  form->layers().mapLayer().clear(raster::rgb(5, 5, 5));
  form->resize(form->width() + 30, form->height());
  EXPECT_EQ(form->layers().mapLayer().pixel(0, 0), raster::kWhite);
  EXPECT_EQ(form->layers().mapLayer().scaleLeft(), -1000.0);
  EXPECT_EQ(form->layers().shown().scaleLeft(), -1000.0);
  EXPECT_DOUBLE_EQ(form->state().plane.MilesPerPixel, 2000.0 / form->layers().width());
}

}  // namespace
}  // namespace orbelle::shell::test

// The window's layout in twips on a 96 dpi screen (15 twips per pixel).

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

using FormLayoutTest = FormTest;

// Only widening grows the map (not height, minimised or narrow); it is drawn again once settled.
TEST_F(FormLayoutTest, ResizingFollowsTheWidthAndRedrawsOnceSettled) {
  showForm();
  ASSERT_EQ(form->twipsPerPixel(), 15.0) << "the offscreen screen is expected at 96 dpi";
  const double surface = form->surfaceWidthTwips();
  const double height = form->heightTwips();
  form->resize(form->width() + 10, form->height() + 50);
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  EXPECT_EQ(form->heightTwips(), height + 150.0);
  EXPECT_DOUBLE_EQ(form->model().state().plane.MilesPerPixel,
                   2.0 * form->model().state().plane.MaxDx / form->model().layers().width());
  form->setWindowState(Qt::WindowMinimized);
  form->resize(form->width() + 20, form->height());
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  form->setWindowState(Qt::WindowNoState);
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 450.0);
  form->resize(10, 10);
  const QSize panel = form->controls().FrameSetup->sizeHint();
  EXPECT_GE(form->model().layers().width(), std::max(panel.width(), panel.height()));
  EXPECT_EQ(form->heightTwips(), 120.0 + form->surfaceWidthTwips() + 400.0);

  writeOutlines(2);
  form->model().cmdDraw_Click();
  const model::MapLayers& layers = form->model().layers();
  ASSERT_EQ(layers.picture()->width(), layers.width());
  int passes = 0;
  QObject::connect(&form->model(), &model::MapModel::passFinished, [&] { ++passes; });
  form->resize(form->width() + 40, form->height());
  form->resize(form->width() + 40, form->height());
  EXPECT_NE(layers.picture()->width(), layers.width());  // stretched meanwhile
  EXPECT_EQ(passes, 0);
  ASSERT_TRUE(waitUntil([&] { return passes == 1 && form->model().settled(); }));
  EXPECT_EQ(layers.picture()->width(), layers.width());
  EXPECT_FALSE(form->model().redrawAfterResizePending());
}

}  // namespace
}  // namespace orbelle::shell::test

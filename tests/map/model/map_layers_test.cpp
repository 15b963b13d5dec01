#include "model/map_layers.hpp"

#include <gtest/gtest.h>

namespace orbelle::model {
namespace {

using raster::kWhite;
using raster::rgb;

// What is shown: the map layer, or a visible picture stretched over it; recomposing wipes the
// overlay drawn on the shown surface but keeps its pen state.
TEST(MapLayers, ShownSurfaceIsTheMapOrThePictureWithoutTheOverlay) {
  MapLayers layers(8, 8);
  layers.mapLayer().clear(rgb(0, 0, 255));
  layers.mapLayer().plotPixel(2, 3, rgb(1, 2, 3));
  layers.recompose();
  EXPECT_EQ(layers.shown().pixel(2, 3), rgb(1, 2, 3));
  EXPECT_EQ(layers.shown().pixel(0, 0), rgb(0, 0, 255));

  raster::Surface picture(4, 4, rgb(10, 20, 30));
  picture.plotPixel(3, 3, rgb(255, 0, 0));
  layers.setPicture(picture);
  layers.recompose();
  EXPECT_EQ(layers.shown().pixel(0, 0), rgb(10, 20, 30));
  // The picture's last pixel covers the last 2 × 2 pixels of the surface.
  for (const int i : {6, 7}) EXPECT_EQ(layers.shown().pixel(i, i), rgb(255, 0, 0));
  EXPECT_EQ(layers.shown().pixel(5, 5), rgb(10, 20, 30));

  layers.setPicture(raster::Surface(8, 8, rgb(10, 20, 30)));  // the same size: copied whole
  layers.recompose();
  layers.shown().setMode(raster::DrawMode::Xor);
  layers.shown().plotPixel(1, 1, kWhite);
  EXPECT_EQ(layers.shown().pixel(1, 1), rgb(245, 235, 225));
  layers.recompose();
  EXPECT_EQ(layers.shown().pixel(1, 1), rgb(10, 20, 30));
  EXPECT_EQ(layers.shown().mode(), raster::DrawMode::Xor);

  layers.setPictureVisible(false);
  layers.recompose();
  EXPECT_EQ(layers.shown().pixel(7, 7), rgb(0, 0, 255));
}

TEST(MapLayers, ScaleIsSharedAndResizeClearsBothLayers) {
  MapLayers layers(10, 10);
  layers.mapLayer().setScale(-100.0, 100.0, 200.0, -200.0);
  layers.shareScale();
  EXPECT_EQ(layers.shown().scaleLeft(), -100.0);
  EXPECT_EQ(layers.shown().scaleHeight(), -200.0);
  layers.mapLayer().clear(rgb(1, 1, 1));
  layers.recompose();
  layers.resize(20, 12);
  EXPECT_EQ(layers.width(), 20);
  EXPECT_EQ(layers.shown().height(), 12);
  EXPECT_EQ(layers.mapLayer().pixel(19, 11), kWhite);
  EXPECT_EQ(layers.shown().pixel(19, 11), kWhite);
}

}  // namespace
}  // namespace orbelle::model

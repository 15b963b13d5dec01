#include "model/map_layers.hpp"

#include <gtest/gtest.h>

namespace orbelle::model {
namespace {

using raster::rgb;

// Shown: the map, or the picture stretched over it, without the overlay but with its pen state.
TEST(MapLayers, ShownSurfaceIsTheMapOrThePictureWithoutTheOverlay) {
  MapLayers layers(8, 8);
  layers.mapLayer().clear(rgb(0, 0, 255));
  layers.mapLayer().setScale(-100.0, 100.0, 200.0, -200.0);
  layers.shareScale();
  EXPECT_EQ(layers.shown().scaleLeft(), -100.0);
  EXPECT_EQ(layers.shown().scaleHeight(), -200.0);
  raster::Surface picture(4, 4, rgb(10, 20, 30));
  picture.plotPixel(3, 3, rgb(255, 0, 0));
  layers.setPicture(picture);
  layers.recompose();
  // The picture's last pixel covers the last 2 × 2 pixels of the surface.
  for (const int i : {6, 7}) EXPECT_EQ(layers.shown().pixel(i, i), rgb(255, 0, 0));
  EXPECT_EQ(layers.shown().pixel(5, 5), rgb(10, 20, 30));
  layers.setPicture(raster::Surface(8, 8, rgb(10, 20, 30)));  // the same size: copied whole
  layers.recompose();
  layers.shown().setMode(raster::DrawMode::Xor);
  layers.shown().plotPixel(1, 1, raster::kWhite);
  EXPECT_EQ(layers.shown().pixel(1, 1), rgb(245, 235, 225));
  layers.recompose();
  EXPECT_EQ(layers.shown().pixel(1, 1), rgb(10, 20, 30));
  EXPECT_EQ(layers.shown().mode(), raster::DrawMode::Xor);
  layers.setPictureVisible(false);
  layers.recompose();
  EXPECT_EQ(layers.shown().pixel(7, 7), rgb(0, 0, 255));
  layers.resize(20, 12);
  EXPECT_EQ(layers.width(), 20);
  EXPECT_EQ(layers.shown().height(), 12);
  EXPECT_EQ(layers.mapLayer().pixel(19, 11), raster::kWhite);
  EXPECT_EQ(layers.shown().pixel(19, 11), raster::kWhite);
}

}  // namespace
}  // namespace orbelle::model

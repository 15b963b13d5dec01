#pragma once

// The spot markers over a surface widget of the model's layers: a 600 × 600 map image inside a
// 2-pixel border, scaled to a radius of 3000 miles (10 miles per pixel) around a station at
// (0, 0), with a host callback object that records the calls.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "model/map_model.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::shell::test {

using orbelle::test::CallbackCall;
using orbelle::test::FakeCallback;
using orbelle::test::FakeMessages;

class SpotLayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new model of `maxSpots` slots with all three show options on, its surface and its spot
  // layer; `scaled`: the image already scaled as above.
  void makeLayer(bool scaled = true, int maxSpots = 25);
  // Scales the map image to `pixels` square for the map radius, as a resize does.
  void scaleImage(int pixels, std::int16_t maxDx = 3000);
  void show(bool spots, bool spotBy, bool lines);
  // A spot at (lat, lon) reported by a spotter at (byLat, byLon), frequency 14000 + n.
  void addSpot(int n, double lat, double lon, double byLat = 0.0, double byLon = 0.0);
  // Marker state relative to the surface.
  bool shown(QWidget* marker) const;
  QImage grab() const;
  static void processEvents();

  QTemporaryDir dir;
  FakeMessages messages;
  std::shared_ptr<FakeCallback> host;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<SurfaceWidget> surface;
  std::unique_ptr<SpotLayer> layer;
  int presses = 0;  // presses that reached the map beneath the markers
};

}  // namespace orbelle::shell::test

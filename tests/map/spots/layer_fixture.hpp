#pragma once

// A spot layer over a plain surface widget whose 600 × 600 map image sits inside a 2-pixel
// border and is scaled to a radius of 3000 miles (10 miles per pixel), with a window that
// records the host calls.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "raster/surface.hpp"
#include "spots/qt/spot_layer.hpp"

namespace orbelle::spots::test {

struct HostCall {
  std::string method;
  double heading = 0.0;
  QVariant SpotFreq;
  QVariant SpotFreqTX;
  QVariant Mode;
};

class FakeWindow final : public SpotWindow {
 public:
  const geo::MapPlane& plane() const override { return planeState; }
  ShowOptions showOptions() const override { return show; }
  std::int16_t MaxSpots() const override { return maxSpots; }
  bool Drawing() const override { return drawing; }
  QPoint imageOrigin() const override { return origin; }
  bool orbellesetrotor(double heading) override;
  bool orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) override;

  geo::MapPlane planeState;
  ShowOptions show{true, true, true};
  std::int16_t maxSpots = 25;
  bool drawing = false;
  QPoint origin{2, 2};
  bool holdsObject = true;
  std::vector<HostCall> calls;
  // Runs inside orbellesetrotor, as events the host's call lets run.
  std::function<void()> duringRotor;
  bool rotorThrows = false;
};

// Paints white, then the layer's lines, as the map surface does; counts presses that reach it.
class TestSurface final : public QWidget {
 public:
  explicit TestSurface(QWidget* parent = nullptr) : QWidget(parent) {}
  SpotLayer* layer = nullptr;
  int presses = 0;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
};

class SpotLayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Scales the map image to `pixels` square for the map radius, as a resize does.
  void scaleImage(int pixels, std::int16_t maxDx = 3000);
  // A spot at (lat, lon) reported by a spotter at (byLat, byLon), frequency 14000 + n.
  void addSpot(int n, double lat, double lon, double byLat = 0.0, double byLon = 0.0);
  // Marker state relative to the surface.
  bool shown(QWidget* marker) const;
  QImage grab() const;
  static void processEvents();

  FakeWindow window;
  std::unique_ptr<TestSurface> surface;
  std::unique_ptr<SpotLayer> layer;
};

}  // namespace orbelle::spots::test

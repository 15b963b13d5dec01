#pragma once

// Spot markers over a 600-pixel image of a 3000-mile radius around (0, 0), with a host fake.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "model/map_model.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::shell::test {

class SpotLayerTest : public ::testing::Test {
 protected:
  void SetUp() override { makeLayer(); }

  // A new model of `maxSpots` slots, all show options on; `scaled`: the image scaled as above.
  void makeLayer(bool scaled = true, int maxSpots = 25) {
    layer.reset();
    surface.reset();
    const QString ini = dir.filePath(QStringLiteral("orbelle.ini"));
    std::ofstream(ini.toStdString())
        << "[Settings]\nLatHere=0\nLonHere=0\nMaxSpots=" << maxSpots << "\n";
    model::ModelServices services;
    services.messages = &messages;
    services.settingsFile = ini.toStdString();
    services.cacheFile = dir.filePath(QStringLiteral("MapCache.bmp"));
    model = std::make_unique<model::MapModel>(services);
    model->load(0.0f, 0.0f);
    host = std::make_shared<orbelle::test::FakeCallback>();
    model->setCallback(QVariant(QStringLiteral("host")), host);
    surface = std::make_unique<SurfaceWidget>(model->layers(), nullptr);
    surface->onPressed = [this](int, int, int) { ++presses; };
    layer = std::make_unique<SpotLayer>(*model, surface.get());
    surface->addPainterAbove([this](QPainter& painter) { layer->paintLines(painter); });
    if (scaled) scaleImage(600);
    surface->show();
    QApplication::processEvents();
  }
  // Scales the map image to `pixels` square for the map radius, as a resize does, and places the
  // spots again.
  void scaleImage(int pixels, std::int16_t maxDx = 3000) {
    model->setMaxDx(maxDx);
    surface->resize(pixels + 4, pixels + 4);
    model->applyMapScale(pixels);
    model->DrawSpots();
  }
  void show(bool spots, bool spotBy, bool lines) {
    model->setShowSpots(spots);
    model->setShowSpotBy(spotBy);
    model->setShowConnectingLines(lines);
  }
  // A spot at (lat, lon) reported by a spotter at (byLat, byLon), frequency 14000 + n.
  void addSpot(int n, double lat, double lon, double byLat = 0.0, double byLon = 0.0) {
    model->AddSpot({lat, lon, 255, 14000.0 + n, "CW", "CALL" + std::to_string(n), "12:00", "BY", "",
                    "", byLat, byLon, 12632256.0, "", 0.5 + n});
  }
  bool shown(QWidget* marker) const { return marker->isVisibleTo(surface.get()); }
  QImage grab() const { return surface->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QTemporaryDir dir;
  orbelle::test::FakeMessages messages;
  std::shared_ptr<orbelle::test::FakeCallback> host;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<SurfaceWidget> surface;
  std::unique_ptr<SpotLayer> layer;
  int presses = 0;  // presses that reached the map beneath the markers
};

}  // namespace orbelle::shell::test

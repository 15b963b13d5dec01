#include "layer_fixture.hpp"

#include <QApplication>
#include <fstream>

namespace orbelle::shell::test {

void SpotLayerTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  makeLayer();
}

void SpotLayerTest::TearDown() {
  layer.reset();
  surface.reset();
  model.reset();
}

void SpotLayerTest::makeLayer(bool scaled, int maxSpots) {
  layer.reset();
  surface.reset();
  model.reset();
  const QString ini = dir.filePath(QStringLiteral("orbelle.ini"));
  std::ofstream(ini.toStdString())
      << "[Settings]\nLatHere=0\nLonHere=0\nMaxSpots=" << maxSpots << "\n";
  model::ModelServices services;
  services.messages = &messages;
  services.settingsFile = ini.toStdString();
  services.cacheFile = dir.filePath(QStringLiteral("MapCache.bmp"));
  model = std::make_unique<model::MapModel>(services);
  model->load(0.0f, 0.0f);
  host = std::make_shared<FakeCallback>();
  model->setCallback(QVariant(QStringLiteral("host")), host);

  surface = std::make_unique<SurfaceWidget>(model->layers(), nullptr);
  surface->onPressed = [this](int, int, int) { ++presses; };
  layer = std::make_unique<SpotLayer>(*model, surface.get());
  surface->addPainterAbove([this](QPainter& painter) { layer->paintLines(painter); });
  if (scaled) scaleImage(600);
  surface->show();
  processEvents();
}

void SpotLayerTest::scaleImage(int pixels, std::int16_t maxDx) {
  model->setMaxDx(maxDx);
  surface->resize(pixels + 4, pixels + 4);
  model->applyMapScale(pixels);
}

void SpotLayerTest::show(bool spots, bool spotBy, bool lines) {
  model->setShowSpots(spots);
  model->setShowSpotBy(spotBy);
  model->setShowConnectingLines(lines);
}

void SpotLayerTest::addSpot(int n, double lat, double lon, double byLat, double byLon) {
  spots::SpotArgs s;
  s.LatDeg = lat;
  s.LonDeg = lon;
  s.Color = 255;
  s.SpotFreq = 14000.0 + n;
  s.Mode = "CW";
  s.SpotCall = "CALL" + std::to_string(n);
  s.SpotTime = "12:00";
  s.SpotBy = "BY";
  s.SpotByLat = byLat;
  s.SpotByLon = byLon;
  s.SpotByColor = 12632256.0;
  s.SpotFreqTX = 0.5 + n;
  model->AddSpot(s);
}

bool SpotLayerTest::shown(QWidget* marker) const { return marker->isVisibleTo(surface.get()); }

QImage SpotLayerTest::grab() const {
  return surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SpotLayerTest::processEvents() { QApplication::processEvents(); }

}  // namespace orbelle::shell::test

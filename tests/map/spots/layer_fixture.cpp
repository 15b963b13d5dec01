#include "layer_fixture.hpp"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <stdexcept>

namespace orbelle::spots::test {

bool FakeWindow::orbellesetrotor(double heading) {
  if (!holdsObject) return false;
  calls.push_back({"orbellesetrotor", heading, {}, {}, {}});
  if (duringRotor) duringRotor();
  if (rotorThrows) throw std::runtime_error("host gone");
  return true;
}

bool FakeWindow::orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) {
  if (!holdsObject) return false;
  calls.push_back({"orbellesetrig", 0.0, SpotFreq, SpotFreqTX, Mode});
  return true;
}

void TestSurface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (layer) layer->paintLines(painter);
}

void TestSurface::mousePressEvent(QMouseEvent* event) {
  ++presses;
  event->accept();
}

void SpotLayerTest::SetUp() {
  surface = std::make_unique<TestSurface>();
  surface->resize(604, 604);
  scaleImage(600);
  layer = std::make_unique<SpotLayer>(window, surface.get());
  surface->layer = layer.get();
  layer->ClearSpots();
  surface->show();
  processEvents();
}

void SpotLayerTest::TearDown() {
  surface->layer = nullptr;
  layer.reset();
  surface.reset();
}

void SpotLayerTest::scaleImage(int pixels, std::int16_t maxDx) {
  window.planeState.MaxDx = maxDx;
  raster::Surface image(pixels, pixels);
  geo::SetMapScale(window.planeState, image);
}

void SpotLayerTest::addSpot(int n, double lat, double lon, double byLat, double byLon) {
  layer->AddSpot(lat, lon, 255, 14000.0 + n, QStringLiteral("CW"), QStringLiteral("CALL%1").arg(n),
                 QStringLiteral("12:00"), QStringLiteral("BY"), QString(), QString(), byLat, byLon,
                 12632256.0, QString(), 0.5 + n);
}

bool SpotLayerTest::shown(QWidget* marker) const { return marker->isVisibleTo(surface.get()); }

QImage SpotLayerTest::grab() const {
  return surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void SpotLayerTest::processEvents() { QApplication::processEvents(); }

}  // namespace orbelle::spots::test

// The station's bus parts against the map's automation in this process.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "bus/bus_object_ref.hpp"
#include "bus/callback_object.hpp"
#include "bus/map_host.hpp"
#include "bus/property_writer.hpp"
#include "orbelle_server_interface.h"
#include "peers/recording_report.hpp"
#include "support/map_on_bus.hpp"

namespace orbelle::station::test {
namespace {
using orbelle::test::waitUntil;

class HostInProcess : public orbelle::test::MapOnBus {
 protected:
  void SetUp() override {
    registerBusObjectRef();
    MapOnBus::SetUp();
  }
  void TearDown() override {
    mapHost.reset();
    EXPECT_TRUE(messages.shown.empty()) << "the map showed a message";
    MapOnBus::TearDown();
  }

  RecordingReport report;
  std::unique_ptr<MapHost> mapHost;
};

// Placement, the callback reference, AddSpot's fields and refused property writes on one host.
TEST_F(HostInProcess, PlacesWritesAndShowsSpotsUntilReleased) {
  const double latitude = model->state().plane.LatHere;
  const int maxDx = model->state().plane.MaxDx;
  MapHost::Timing timing;
  timing.callTimeoutMs = 10000;
  mapHost =
      std::make_unique<MapHost>(host, MapHost::Placement{std::nullopt, 33.0, std::nullopt, {}},
                                QString::fromLatin1(kCallbackPath), report, timing);
  mapHost->start();
  ASSERT_TRUE(waitUntil([&] { return callbackService() == host.baseService(); })) << report.all();
  BusObjectRef callback;
  property("/Form1", orbelle::test::kForm, "Callback").value<QDBusArgument>() >> callback;
  EXPECT_EQ(callback.path.path(), QString::fromLatin1(kCallbackPath));
  EXPECT_EQ(std::tie(model->state().plane.LatHere, model->state().plane.LonHere,
                     model->state().plane.MaxDx),
            std::tuple(latitude, 33.0, maxDx));

  const AddSpotFields f{
      35.5,       139.75,   0x123456, 21074.5, "FT8", "JA1XYZ", "0102Z",
      "DL1ABC-#", "-12 dB", "Japan",  51.0,    10.0,  0x654321, "Fed. Rep. of Germany",
      21075.5};
  QSignalSpy done(mapHost.get(), &MapHost::spotDone);
  mapHost->addSpot(f);
  ASSERT_TRUE(orbelle::test::waitForSignals(done));
  EXPECT_TRUE(done.first().first().toBool());
  const spots::Slot& slot = model->spots().slot(1);
  const spots::SpotRow& r = slot.row;
  EXPECT_EQ(
      std::tie(r.LatDeg, r.LonDeg, r.Color, r.SpotFreq, r.SpotByLat, r.SpotByLon, r.SpotFreqTX),
      std::tuple(35.5, 139.75, 0x123456, 21074.5, 51.0, 10.0, 21075.5));
  EXPECT_EQ(slot.markers.spotText, "JA1XYZ (by DL1ABC-#) 21074.5 FT8 0102Z -12 dB, Japan");
  EXPECT_EQ(slot.markers.spotterText, "By DL1ABC-#, Fed. Rep. of Germany (JA1XYZ)");
  EXPECT_EQ(slot.markers.spotterColor, 0x654321u);

  Orbelle_serverInterface proxy(QString::fromLatin1(kMapService), mapHost->serverPath(), host);
  QString error;
  EXPECT_FALSE(writeProperty(proxy, "MaxDxMi", 70000, &error));  // not a 16-bit value
  EXPECT_NE(error.indexOf(QLatin1String("MaxDxMi")), -1);
  EXPECT_FALSE(writeProperty(proxy, "MaxDxMi", 2000.5, &error));
  EXPECT_FALSE(writeProperty(proxy, "Latitud", 1.0, &error));
  EXPECT_FALSE(writeProperty(proxy, "Drawing", true, &error));  // read-only
}

}  // namespace
}  // namespace orbelle::station::test

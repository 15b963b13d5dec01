// A press on a spot sends the spot's frequency, transmit frequency and mode by reference: what
// the host leaves in them is the spot's from then on, so the next press sends the host's values.
// Not when the host changed the spots while it answered: the pressed slot may hold another spot
// by then, and nothing is written.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "model/map_model.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::model::test {
namespace {

using orbelle::test::CallbackCall;
using orbelle::test::FakeCallback;
using orbelle::test::FakeMessages;

spots::SpotArgs spot(double freq, const char* mode) {
  spots::SpotArgs s;
  s.LatDeg = 35.7;
  s.LonDeg = 139.7;
  s.Color = 255;
  s.SpotFreq = freq;
  s.Mode = mode;
  s.SpotCall = "JA1XYZ";
  s.SpotByLat = 60.2;
  s.SpotByLon = 24.9;
  s.SpotFreqTX = freq + 0.005;
  return s;
}

struct Case {
  const char* what;
  // What the host does while it answers orbellesetrig.
  std::function<void(MapModel&)> meanwhile;
  bool written;
};

TEST(SpotAnswers, TheHostsAnswerComesBackAtTheNextPressUnlessTheSpotsChanged) {
  const Case cases[] = {
      {"the host only answers", [](MapModel&) {}, true},
      {"the host adds a spot", [](MapModel& m) { m.AddSpot(spot(7.0, "CW")); }, false},
      {"the host clears the spots", [](MapModel& m) { m.ClearSpots(); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    FakeMessages messages;
    ModelServices services;
    services.messages = &messages;
    services.settingsFile = dir.filePath(QStringLiteral("orbelle.ini")).toStdString();
    MapModel model(services);
    model.AddSpot(spot(21.2, "SSB"));
    const auto host = std::make_shared<FakeCallback>();
    model.setCallback(QVariant(QStringLiteral("host")), host);

    bool hostAnswered = false;
    host->duringRig = [&](QVariant& freq, QVariant& tx, QVariant& mode) {
      if (hostAnswered) return;
      hostAnswered = true;
      freq = 21.4;
      tx = 0.0;
      mode = QStringLiteral("CHANGED");
      c.meanwhile(model);
    };
    model.pressMarker(1, spots::MarkerKind::Spot, geo::kLeftButton);
    // The spot in slot 1 again (after a clear it is a new spot with the old values).
    if (model.spots().MaxSpots() < 1 || !model.spots().slot(1).filled) {
      model.AddSpot(spot(21.2, "SSB"));
    }
    model.pressMarker(1, spots::MarkerKind::Spotter, geo::kRightButton);

    ASSERT_EQ(host->calls.size(), 4u);
    ASSERT_EQ(host->calls[3].method, "orbellesetrig");
    const QVariantList answered{21.4, 0.0, QStringLiteral("CHANGED")};
    const QVariantList stored{21.2, 21.2 + 0.005, QStringLiteral("SSB")};
    EXPECT_EQ(host->calls[1].arguments, stored);
    EXPECT_EQ(host->calls[3].arguments, c.written ? answered : stored);
  }
}

}  // namespace
}  // namespace orbelle::model::test

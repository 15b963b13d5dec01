// A press on a spot sends the spot's frequency, transmit frequency and mode by reference: what
// the host leaves in them is the spot's from then on, so the next press sends the host's values.
// Not when the host changed the spots while it answered: the pressed slot may hold another spot
// by then, and nothing is written.

#include <gtest/gtest.h>

#include "model/map_model.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::model::test {
namespace {

spots::SpotArgs spot(double freq, const char* mode) {
  return {35.7, 139.7, 255,  freq, mode, "JA1XYZ", "",          "",
          "",   "",    60.2, 24.9, 0.0,  "",       freq + 0.005};
}

// Guards a fault: the pressed spot is sent even if the host replaces it while it turns the rotor.
TEST(SpotAnswers, TheHostsAnswerComesBackAtTheNextPressUnlessTheSpotsChanged) {
  const QVariantList stored{21.2, 21.2 + 0.005, QStringLiteral("SSB")};
  const QVariantList answered{21.4, 0.0, QStringLiteral("CHANGED")};
  const struct {
    const char* what;
    std::function<void(MapModel&)> meanwhile;  // what the host does while it answers
    bool inRotor;                              // in orbellesetrotor, else in orbellesetrig
    QVariantList second;                       // what the second press sends
  } cases[] = {
      {"the host only answers", [](MapModel&) {}, false, answered},
      {"the host clears the spots", [](MapModel& m) { m.ClearSpots(); }, false, stored},
      {"the slot refilled at the rotor",
       [](MapModel& m) {
         m.ClearSpots();
         m.AddSpot(spot(7.0, "CW"));
       },
       true,
       {7.0, 7.005, QStringLiteral("CW")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    orbelle::test::FakeMessages messages;
    ModelServices services;
    services.messages = &messages;
    MapModel model(services);  // not loaded: no settings read or written
    model.AddSpot(spot(21.2, "SSB"));
    const auto host = std::make_shared<orbelle::test::FakeCallback>();
    model.setCallback(QVariant(QStringLiteral("host")), host);
    host->duringRotor = [&] {
      if (c.inRotor && host->calls.size() == 1) c.meanwhile(model);
    };
    host->duringRig = [&](QVariant& freq, QVariant& tx, QVariant& mode) {
      if (host->calls.size() != 2) return;
      freq = 21.4;
      tx = 0.0;
      mode = QStringLiteral("CHANGED");
      if (!c.inRotor) c.meanwhile(model);
    };
    model.pressMarker(1, spots::MarkerKind::Spot, geo::kLeftButton);
    // The spot in slot 1 again (after a clear it is a new spot with the old values).
    if (!model.spots().slot(1).filled) model.AddSpot(spot(21.2, "SSB"));
    model.pressMarker(1, spots::MarkerKind::Spotter, geo::kRightButton);

    ASSERT_EQ(host->calls.size(), 4u);
    EXPECT_EQ(host->calls[1].arguments, stored);
    EXPECT_EQ(host->calls[3].arguments, c.second);
  }
}

}  // namespace
}  // namespace orbelle::model::test

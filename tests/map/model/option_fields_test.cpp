// The options panel's fields through the model: what the operator types, what the field then
// shows, what its paired field shows, and the value the map takes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/map_model.hpp"
#include "model/options_rules.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::model {
namespace {

using Field = OptionField;

// The field's validation, as when the operator leaves it, and the value it sets.
bool leaveField(MapModel& model, Field field) {
  using Leave = bool (MapModel::*)();
  const Leave leave[] = {&MapModel::txtLatHere_LostFocus, &MapModel::txtLonHere_LostFocus,
                         &MapModel::txtUTCOffset_LostFocus, &MapModel::txtMaxDxMi_Lostfocus,
                         &MapModel::txtMaxDxKm_LostFocus};
  return (model.*leave[static_cast<int>(field)])();
}
double valueOf(const MapState& s, Field field) {
  const double values[] = {s.plane.LatHere, s.plane.LonHere, s.UTCOffset,
                           static_cast<double>(s.plane.MaxDx)};
  return values[std::min(static_cast<int>(field), 3)];
}

// Each field's bounds, rounding (miles half to even, km down) and paired field; only numbers.
TEST(OptionFields, EntriesAreBoundedConvertedAndShown) {
  struct Case {
    Field field;
    const char* typed;
    const char* shown;   // nullptr: refused, nothing changes
    const char* paired;  // the kilometres field for miles and the miles field for kilometres
    double value;
  };
  const Case cases[] = {
      {Field::LatHere, "90", "89.9", nullptr, 89.9},
      {Field::LatHere, " 89.99 ", "89.99", nullptr, 89.99},
      {Field::LonHere, "-180.5", "-180", nullptr, -180},  // 190 → 180: the window's test
      {Field::LonHere, "12.25", "12.25", nullptr, 12.25},
      {Field::MaxDxMi, "12437.565315561978", "12437.565315561978", "20016", 12438},
      {Field::MaxDxMi, "12437.5654", "12437", "20015", 12437},
      {Field::MaxDxMi, "100.5", "100.5", "160", 100},
      {Field::MaxDxMi, "101.5", "101.5", "164", 102},
      {Field::MaxDxMi, "99.999", "100", "160", 100},
      {Field::MaxDxKm, "160.9", "160.9", "99", 99},
      {Field::MaxDxKm, "-100", "-100", "-63", -63},
      {Field::MaxDxKm, "1e9", "1e9", "32767", 32767},
      {Field::MaxDxKm, "-1e9", "-1e9", "-32768", -32768},
      {Field::UTCOffset, "-2.5", "-2.5", nullptr, -2.5},
      {Field::LonHere, "", nullptr, nullptr, 0},
      {Field::MaxDxMi, "12abc", nullptr, nullptr, 0},
      {Field::MaxDxKm, "inf", nullptr, nullptr, 0},
      {Field::UTCOffset, "nan", nullptr, nullptr, 0},
      {Field::LatHere, "1e999", nullptr, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    orbelle::test::FakeMessages messages;
    ModelServices services;
    services.messages = &messages;
    services.settingsFile = "no-such-folder/orbelle.ini";  // not written: the model never unloads
    MapModel model(services);
    const double before = valueOf(model.state(), c.field);
    model.setFieldText(c.field, QString::fromLatin1(c.typed));
    ASSERT_EQ(leaveField(model, c.field), c.shown != nullptr);
    EXPECT_EQ(valueOf(model.state(), c.field), c.shown != nullptr ? c.value : before);
    if (c.shown != nullptr) {
      EXPECT_EQ(model.fields()[c.field], QString::fromLatin1(c.shown));
    }
    if (c.paired != nullptr) {
      const Field other = c.field == Field::MaxDxMi ? Field::MaxDxKm : Field::MaxDxMi;
      EXPECT_EQ(model.fields()[other], QString::fromLatin1(c.paired));
    }
  }
  EXPECT_EQ(wholeMiles(2.5), 2);
  EXPECT_EQ(wholeMiles(1e7), 32767);
  EXPECT_EQ(wholeMiles(NAN), 0);
  const NumberFormat german(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(german.text(12437.5), "12437,5");  // no thousands separator
  EXPECT_EQ(german.text(-0.0), "0");
  EXPECT_EQ(german.parse("-84,179"), -84.179);
}

}  // namespace
}  // namespace orbelle::model

// The options panel's fields through the model: what the operator types, what the field then
// shows, what its paired field shows, and the value the map takes.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <limits>

#include "model/map_model.hpp"
#include "model/options_rules.hpp"
#include "support/model_fakes.hpp"

namespace orbelle::model {
namespace {

using Field = OptionField;

// The field's validation, as when the operator leaves it.
bool leaveField(MapModel& model, Field field) {
  switch (field) {
    case Field::LatHere:
      return model.txtLatHere_LostFocus();
    case Field::LonHere:
      return model.txtLonHere_LostFocus();
    case Field::UTCOffset:
      return model.txtUTCOffset_LostFocus();
    case Field::MaxDxMi:
      return model.txtMaxDxMi_Lostfocus();
    case Field::MaxDxKm:
      break;
  }
  return model.txtMaxDxKm_LostFocus();
}

double valueOf(const MapState& s, Field field) {
  if (field == Field::LatHere) return s.plane.LatHere;
  if (field == Field::LonHere) return s.plane.LonHere;
  return field == Field::UTCOffset ? s.UTCOffset : s.plane.MaxDx;
}

// Latitudes are held just inside the poles and longitudes at the date line; the miles field is
// kept up to the limit 12437.565..., rounded half to even and bounded to 100 .. 12437 with a new
// text, and fills the kilometres field (rounded down); kilometres give whole miles rounded down
// (160.9 km is 99.98 miles), held in 16 bits; only finite numbers are taken.
TEST(OptionFields, EntriesAreBoundedConvertedAndShown) {
  struct Case {
    Field field;
    const char* typed;
    const char* shown;   // nullptr: refused, nothing changes
    const char* paired;  // the kilometres field for miles and the miles field for kilometres
    double value;
  };
  const Case cases[] = {
      {Field::LatHere, "95", "89.9", nullptr, 89.9},
      {Field::LatHere, "90", "89.9", nullptr, 89.9},
      {Field::LatHere, "-90", "-89.9", nullptr, -89.9},
      {Field::LatHere, " 89.99 ", "89.99", nullptr, 89.99},
      {Field::LonHere, "190", "180", nullptr, 180},
      {Field::LonHere, "-180.5", "-180", nullptr, -180},
      {Field::LonHere, "12.25", "12.25", nullptr, 12.25},
      {Field::MaxDxMi, "12437.5", "12437.5", "20016", 12438},
      {Field::MaxDxMi, "12437.565315561978", "12437.565315561978", "20016", 12438},
      {Field::MaxDxMi, "12437.5654", "12437", "20015", 12437},
      {Field::MaxDxMi, "100.5", "100.5", "160", 100},
      {Field::MaxDxMi, "101.5", "101.5", "164", 102},
      {Field::MaxDxMi, "99.999", "100", "160", 100},
      {Field::MaxDxKm, "100", "100", "62", 62},
      {Field::MaxDxKm, "20015", "20015", "12436", 12436},
      {Field::MaxDxKm, "160.9", "160.9", "99", 99},
      {Field::MaxDxKm, "-100", "-100", "-63", -63},
      {Field::MaxDxKm, "1e9", "1e9", "32767", 32767},
      {Field::MaxDxKm, "-1e9", "-1e9", "-32768", -32768},
      {Field::UTCOffset, "-2.5", "-2.5", nullptr, -2.5},
      {Field::LatHere, "abc", nullptr, nullptr, 0},
      {Field::LonHere, "", nullptr, nullptr, 0},
      {Field::MaxDxMi, "12abc", nullptr, nullptr, 0},
      {Field::MaxDxKm, "inf", nullptr, nullptr, 0},
      {Field::UTCOffset, "nan", nullptr, nullptr, 0},
      {Field::LatHere, "1e999", nullptr, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    QTemporaryDir dir;
    orbelle::test::FakeMessages messages;
    ModelServices services;
    services.messages = &messages;
    services.settingsFile = dir.filePath(QStringLiteral("orbelle.ini")).toStdString();
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

// Conversion of incoming values to declared types, bus names, and 16-bit results.

#include "server/bus_values.hpp"

#include <gtest/gtest.h>

#include <QDBusVariant>
#include <cstdint>
#include <limits>

namespace orbelle::server {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Values convert to the declared type or are refused naming the member: never wrapped or cast.
TEST(BusValues, ValuesConvertToTheDeclaredTypeOrAreRefused) {
  struct Case {
    QVariant value;
    const char* type;
    QVariant expected;  // invalid: refused
    const char* refusal = "";
  };
  const Case cases[] = {
      {QVariant::fromValue<std::int16_t>(-32768), "n", QVariant::fromValue<std::int16_t>(-32768)},
      {QVariant(32767), "n", QVariant::fromValue<std::int16_t>(32767)},
      {QVariant::fromValue<qulonglong>(600), "n", QVariant::fromValue<std::int16_t>(600)},
      {QVariant(2.5), "n", QVariant::fromValue<std::int16_t>(2)},  // ties to even
      {QVariant(3.5), "n", QVariant::fromValue<std::int16_t>(4)},
      {QVariant::fromValue<std::int16_t>(-7), "d", QVariant(-7.0)},
      {QVariant::fromValue(QDBusVariant(4.5)), "v", QVariant(4.5)},
      {QVariant(70000), "n", {}, "70000 is outside"},
      {QVariant::fromValue<qulonglong>(~0ULL), "n", {}},
      {QVariant(32767.5), "n", {}},  // rounds to 32768
      {QVariant(kNaN), "n", {}},
      {QVariant::fromValue<qlonglong>(1LL << 31), "i", {}},
      {QVariant(true), "n", {}, "a boolean"},
      {QVariant(QStringLiteral("50")), "n", {}, "a string"},
      {QVariant(QStringLiteral("1.5")), "d", {}},
      {QVariant(1), "b", {}},
      {QVariant(12), "s", {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.value.toString().toStdString() << " as " << k.type);
    try {
      const QVariant got = toDeclaredType(k.value, QString::fromLatin1(k.type), "MaxDxMi");
      ASSERT_TRUE(k.expected.isValid()) << "not refused";
      EXPECT_EQ(got.metaType(), k.expected.metaType());
      EXPECT_EQ(got, k.expected);
    } catch (const BusError& e) {
      EXPECT_FALSE(k.expected.isValid()) << e.what();
      EXPECT_EQ(e.name(), QLatin1String(error::kInvalidArgs));
      EXPECT_TRUE(e.message().startsWith(QLatin1String("MaxDxMi: "))) << e.what();
      EXPECT_TRUE(e.message().contains(QLatin1String(k.refusal))) << e.what();
    }
  }
}

// Bus names: two or more dot-separated elements of [A-Za-z0-9_-], none empty or, unless the
// name is unique (":"), starting with a digit; at most 255 characters.
TEST(BusValues, BusNames) {
  for (const char* good : {":1.42", "Orbelle.server", "org.example.Host_2", "a.b-c"}) {
    EXPECT_TRUE(isValidBusName(QString::fromLatin1(good))) << good;
  }
  for (const char* bad : {"", "host", ".a.b", "a..b", "a.b.", "org.1example", "a.b c"}) {
    EXPECT_FALSE(isValidBusName(QString::fromLatin1(bad))) << bad;
  }
  EXPECT_FALSE(isValidBusName(QStringLiteral("a.") + QString(300, QLatin1Char('b'))));
}

}  // namespace
}  // namespace orbelle::server

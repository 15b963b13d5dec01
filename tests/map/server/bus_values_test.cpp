// Conversion of incoming values to declared types, bus names, and 16-bit results.

#include "server/bus_values.hpp"

#include <gtest/gtest.h>

#include <QDBusVariant>
#include <cstdint>
#include <limits>

namespace orbelle::server {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The refusal's message; empty when the value converts.
QString refusal(const QVariant& value, const char* type) {
  try {
    toDeclaredType(value, QString::fromLatin1(type), QStringLiteral("MaxDxMi"));
  } catch (const BusError& e) {
    EXPECT_EQ(e.name(), QLatin1String(error::kInvalidArgs));
    EXPECT_TRUE(e.message().startsWith(QLatin1String("MaxDxMi: "))) << e.what();
    return e.message();
  }
  return {};
}

int asInt16(const QVariant& value) {
  const QVariant converted = toDeclaredType(value, QStringLiteral("n"), QStringLiteral("x"));
  EXPECT_EQ(converted.metaType(), QMetaType::fromType<std::int16_t>());
  return converted.value<std::int16_t>();
}

TEST(BusValues, SixteenBitValuesTakeAnyIntegerOrRoundedDoubleThatFits) {
  EXPECT_EQ(asInt16(QVariant::fromValue<std::int16_t>(-32768)), -32768);
  EXPECT_EQ(asInt16(QVariant(32767)), 32767);
  EXPECT_EQ(asInt16(QVariant::fromValue<quint8>(200)), 200);
  EXPECT_EQ(asInt16(QVariant::fromValue<qulonglong>(600)), 600);
  // Ties to even.
  EXPECT_EQ(asInt16(QVariant(2.5)), 2);
  EXPECT_EQ(asInt16(QVariant(3.5)), 4);
  EXPECT_EQ(asInt16(QVariant(-2.5)), -2);
  EXPECT_EQ(asInt16(QVariant(2.7)), 3);
}

TEST(BusValues, WhatWouldWrapOrIsNotANumberIsRefused) {
  // Converted silently, 70000 would arrive as 4464, and true as 1.
  EXPECT_TRUE(refusal(QVariant(70000), "n").contains(QLatin1String("70000 is outside")));
  EXPECT_FALSE(refusal(QVariant::fromValue<quint16>(40000), "n").isEmpty());
  EXPECT_FALSE(refusal(QVariant::fromValue<qulonglong>(~0ULL), "n").isEmpty());
  EXPECT_FALSE(refusal(QVariant(32767.5), "n").isEmpty());  // rounds to 32768
  EXPECT_FALSE(refusal(QVariant(kNaN), "n").isEmpty());
  EXPECT_FALSE(refusal(QVariant::fromValue<qlonglong>(1LL << 31), "i").isEmpty());
  EXPECT_TRUE(refusal(QVariant(true), "n").contains(QLatin1String("a boolean")));
  EXPECT_TRUE(refusal(QVariant(QStringLiteral("50")), "n").contains(QLatin1String("a string")));
  EXPECT_FALSE(refusal(QVariant(QStringLiteral("1.5")), "d").isEmpty());
  EXPECT_FALSE(refusal(QVariant(1), "b").isEmpty());
  EXPECT_FALSE(refusal(QVariant(12), "s").isEmpty());
}

TEST(BusValues, DoublesTakeIntegersAndVariantsComeUnwrapped) {
  const QVariant d = toDeclaredType(QVariant::fromValue<std::int16_t>(-7), "d", "x");
  EXPECT_EQ(d.metaType().id(), QMetaType::Double);
  EXPECT_EQ(d.toDouble(), -7.0);
  EXPECT_EQ(toDeclaredType(QVariant::fromValue(QDBusVariant(4.5)), "v", "x"), QVariant(4.5));
}

TEST(BusValues, SixteenBitResultsThatDoNotFitAreErrors) {
  EXPECT_EQ(checkedInt16(5.5, "UTCOffset"), 6);
  EXPECT_EQ(checkedInt16(4.5, "UTCOffset"), 4);
  try {
    checkedInt16(52732.0, "MaxDxKm");
    FAIL() << "no overflow";
  } catch (const BusError& e) {
    EXPECT_EQ(e.name(), QLatin1String(error::kOverflow));
    EXPECT_TRUE(e.message().startsWith(QLatin1String("MaxDxKm: 52732"))) << e.what();
  }
  EXPECT_THROW(checkedInt16(kNaN, "x"), BusError);
}

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

// The introspection files as the bus objects read them.

#include "server/interface_description.hpp"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

namespace orbelle::server {
namespace {

QStringList memberOrder(const InterfaceDescription& d) {
  // Members as the file lists them, methods and properties interleaved: recovered from the
  // interface's text, which keeps the file's order.
  QStringList names;
  const QRegularExpression member(QStringLiteral("<(method|property) name=\"(\\w+)\""));
  for (auto m = member.globalMatch(d.xml); m.hasNext();) {
    const QString name = m.next().captured(2);
    if (names.isEmpty() || names.last() != name) names << name;
  }
  return names;
}

TEST(InterfaceDescription, ServerMembersInTheAutomationInterfaceOrder) {
  const InterfaceDescription& d = builtInInterface(QStringLiteral("Orbelle._server"));
  EXPECT_EQ(memberOrder(d).join(' '),
            "Form CallbackRef class_initialize class_terminate Callback DrawAsync Draw Latitude "
            "Longitude PixelSize MaxDxMi MaxDxKm UTCOffset Drawing setcallerref SaveImage "
            "LoadImage DrawPath AddSpot Release AntennaHeading");
  for (const char* name : {"PixelSize", "MaxDxMi", "MaxDxKm", "UTCOffset"}) {
    ASSERT_NE(d.property(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(d.property(QString::fromLatin1(name))->type, "n") << name;
  }
  const PropertyDescription* drawing = d.property(QStringLiteral("Drawing"));
  ASSERT_NE(drawing, nullptr);
  EXPECT_TRUE(drawing->readable);
  EXPECT_FALSE(drawing->writable);
}

TEST(InterfaceDescription, OptionalArgumentsAreFormsLongestFirst) {
  const InterfaceDescription& d = builtInInterface(QStringLiteral("Orbelle._server"));
  const auto drawPath = d.forms(QStringLiteral("DrawPath"));
  ASSERT_EQ(drawPath.size(), 3u);
  EXPECT_EQ(drawPath[0]->inSignature(), "dd");
  EXPECT_EQ(drawPath[1]->inSignature(), "d");
  EXPECT_EQ(drawPath[2]->inSignature(), "");
  const auto addSpot = d.forms(QStringLiteral("AddSpot"));
  ASSERT_EQ(addSpot.size(), 1u);
  EXPECT_EQ(addSpot[0]->inSignature(), "ddidssssssdddsd");
  EXPECT_EQ(addSpot[0]->in.at(14).name, "SpotFreqTX");
  EXPECT_TRUE(d.forms(QStringLiteral("Nothing")).empty());
}

TEST(InterfaceDescription, IntrospectionTextIsTheInterfaceElementAlone) {
  const auto parsed = parseIntrospection(
      QStringLiteral("<!DOCTYPE node>\n<node>\n<!-- x -->\n<interface name=\"a.B\">\n"
                     "  <method name=\"M\"><arg name=\"r\" type=\"d\" direction=\"out\"/>"
                     "<arg name=\"p\" type=\"n\"/></method>\n"
                     "</interface>\n<interface name=\"c.D\"/>\n</node>\n"));
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_TRUE(parsed[0].xml.trimmed().startsWith(QLatin1String("<interface name=\"a.B\">")));
  EXPECT_TRUE(parsed[0].xml.trimmed().endsWith(QLatin1String("</interface>")));
  EXPECT_EQ(parsed[0].methods.at(0).inSignature(), "n");  // no direction means in
  EXPECT_EQ(parsed[0].methods.at(0).outSignature(), "d");
  EXPECT_EQ(parsed[1].name, "c.D");
}

TEST(InterfaceDescription, FaultyDocumentsAreRefusedWithTheirLine) {
  const auto refusal = [](const char* document) -> std::string {
    try {
      parseIntrospection(QString::fromLatin1(document));
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return {};
  };
  EXPECT_NE(refusal("<node><interface name=\"a.B\"><method name=\"M\">"
                    "<arg type=\"a{sv}\"/></method></interface></node>")
                .find("unsupported type"),
            std::string::npos);
  EXPECT_NE(
      refusal("<node><interface><method name=\"M\"/></interface></node>").find("without name"),
      std::string::npos);
  EXPECT_NE(refusal("<node>\n<interface name=\"a.B\">\n<property name=\"P\" type=\"s\" "
                    "access=\"none\"/></interface></node>")
                .find("line 3"),
            std::string::npos);
  EXPECT_FALSE(refusal("<node><interface name=\"a.B\">").empty());
  EXPECT_FALSE(refusal("<nodes/>").empty());
  EXPECT_THROW(builtInInterface(QStringLiteral("Orbelle.nothing")), std::runtime_error);
}

}  // namespace
}  // namespace orbelle::server

// The introspection files as the bus objects read them.

#include "server/interface_description.hpp"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

namespace orbelle::server {
namespace {

// The built-in server interface: members in the automation interface's order (recovered from the
// interface's text, which keeps the file's order), its 16-bit and read-only properties, and
// optional arguments as forms, longest first.
TEST(InterfaceDescription, TheServerInterfaceAsTheObjectsUseIt) {
  const InterfaceDescription& d = builtInInterface(QStringLiteral("Orbelle._server"));
  QStringList names;
  const QRegularExpression member(QStringLiteral("<(method|property) name=\"(\\w+)\""));
  for (auto m = member.globalMatch(d.xml); m.hasNext();) {
    const QString name = m.next().captured(2);
    if (names.isEmpty() || names.last() != name) names << name;
  }
  EXPECT_EQ(names.join(' '),
            "Form CallbackRef class_initialize class_terminate Callback DrawAsync Draw Latitude "
            "Longitude PixelSize MaxDxMi MaxDxKm UTCOffset Drawing setcallerref SaveImage "
            "LoadImage DrawPath AddSpot Release AntennaHeading");
  for (const char* name : {"PixelSize", "MaxDxMi", "MaxDxKm", "UTCOffset"}) {
    ASSERT_NE(d.property(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(d.property(QString::fromLatin1(name))->type, "n") << name;
  }
  ASSERT_NE(d.property(QStringLiteral("Drawing")), nullptr);
  EXPECT_TRUE(d.property(QStringLiteral("Drawing"))->readable);
  EXPECT_FALSE(d.property(QStringLiteral("Drawing"))->writable);
  QStringList drawPath;
  for (const auto* form : d.forms(QStringLiteral("DrawPath"))) drawPath << form->inSignature();
  EXPECT_EQ(drawPath, (QStringList{"dd", "d", ""}));
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
  const std::pair<const char*, const char*> documents[] = {
      {"<node><interface name=\"a.B\"><method name=\"M\"><arg type=\"a{sv}\"/></method>"
       "</interface></node>",
       "unsupported type"},
      {"<node><interface><method name=\"M\"/></interface></node>", "without name"},
      {"<node>\n<interface name=\"a.B\">\n<property name=\"P\" type=\"s\" access=\"none\"/>"
       "</interface></node>",
       "line 3"},
      {"<node><interface name=\"a.B\">", ""},
      {"<nodes/>", ""},
  };
  for (const auto& [document, said] : documents) {
    try {
      parseIntrospection(QString::fromLatin1(document));
      ADD_FAILURE() << "accepted: " << document;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(said), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(builtInInterface(QStringLiteral("Orbelle.nothing")), std::runtime_error);
}

}  // namespace
}  // namespace orbelle::server

// The introspection files as the bus objects read them (the built-in ones: ServerMembers).

#include "server/interface_description.hpp"

#include <gtest/gtest.h>

namespace orbelle::server {
namespace {

// A faulty document is refused, saying what and (when known) on which line.
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

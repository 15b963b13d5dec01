// The bus object's dispatch, on the private bus: forms, conversions and errors of methods and
// properties, and its check that handlers match the interface; deferred replies are the Draw
// tests'.

#include "server/bus_object.hpp"

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QPointer>
#include <QTest>
#include <memory>

#include "support/wait.hpp"

namespace orbelle::server {
namespace {

const QString kThingXml = QStringLiteral(R"(<node><interface name="test.Thing">
  <method name="Add"><arg name="a" type="n"/><arg name="b" type="n"/>
    <arg name="sum" type="i" direction="out"/></method>
  <method name="Opt"><arg name="x" type="d"/></method>
  <method name="Opt"/>
  <property name="Small" type="n" access="readwrite"/>
  <property name="Any" type="v" access="readwrite"/>
  <property name="Fixed" type="s" access="read"/>
  <property name="Big" type="n" access="read"/>
</interface></node>)");

const QString kPath = QStringLiteral("/thing");

class BusObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    description = parseIntrospection(kThingXml).at(0);
    server = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "thing-server");
    client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "thing-client");
    ASSERT_TRUE(server.isConnected()) << "run under dbus-run-session";
    object = std::make_unique<BusObject>(description, server, methods(), getters(), setters());
    ASSERT_TRUE(server.registerVirtualObject(kPath, object.get()));
  }
  void TearDown() override {
    server.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus("thing-server");
    QDBusConnection::disconnectFromBus("thing-client");
  }

  std::map<QString, BusObject::Method> methods() {
    std::map<QString, BusObject::Method> m;
    m["Add(nn)"] = [](const QVariantList& a, const QDBusMessage&) {
      return Reply{{a.at(0).value<std::int16_t>() + a.at(1).value<std::int16_t>()}};
    };
    m["Opt(d)"] = [this](const QVariantList& a, const QDBusMessage&) {
      optSeen = a.at(0).toDouble();
      return Reply{};
    };
    m["Opt()"] = [this](const QVariantList&, const QDBusMessage&) {
      optSeen = -1.0;
      return Reply{};
    };
    return m;
  }
  std::map<QString, BusObject::Getter> getters() {
    return {{"Small", [this] { return QVariant::fromValue(small); }},
            {"Any", [this] { return any; }},
            {"Fixed", [] { return QVariant(QStringLiteral("fixed")); }},
            {"Big", []() -> QVariant { throw BusError(error::kOverflow, "Big: too big"); }}};
  }
  std::map<QString, BusObject::Setter> setters() {
    return {{"Small", [this](const QVariant& v) { small = v.value<std::int16_t>(); }},
            {"Any", [this](const QVariant& v) { any = v; }}};
  }

  QDBusMessage call(const QString& interface, const QString& member, const QVariantList& args) {
    QDBusMessage m = QDBusMessage::createMethodCall(server.baseService(), kPath, interface, member);
    m.setArguments(args);
    return client.call(m, QDBus::BlockWithGui);
  }
  QDBusMessage set(const QString& name, const QVariant& value) {
    return call("org.freedesktop.DBus.Properties", "Set",
                {"test.Thing", name, QVariant::fromValue(QDBusVariant(value))});
  }
  QDBusMessage get(const QString& name) {
    return call("org.freedesktop.DBus.Properties", "Get", {"test.Thing", name});
  }
  static QVariant valueOf(const QDBusMessage& reply) {
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }

  InterfaceDescription description;
  QDBusConnection server{QString()};
  QDBusConnection client{QString()};
  std::unique_ptr<BusObject> object;
  std::int16_t small = 0;
  QVariant any;
  double optSeen = 0.0;
};

// Calls and property accesses in turn: the reply's first value, or the error and a part of its
// message. Arguments convert to the declared types; forms are chosen by the argument count.
TEST_F(BusObjectTest, CallsAreCheckedAgainstTheInterface) {
  const QString props = QStringLiteral("org.freedesktop.DBus.Properties");
  const auto setArgs = [](const char* name, const QVariant& v) {
    return QVariantList{"test.Thing", name, QVariant::fromValue(QDBusVariant(v))};
  };
  struct Case {
    QString interface, member;
    QVariantList args;
    QVariant result;  // the reply's first value, when it has one
    const char* error = nullptr;
    const char* message = "";
  };
  const Case cases[] = {
      {"test.Thing", "Add", {3, 4.0}, 7},
      {"", "Add", {1, 1}, 2},  // without an interface name too
      {"test.Thing",
       "Add",
       {70000, 1},
       {},
       error::kInvalidArgs,
       "Add argument 1, a: 70000 is outside"},
      {"test.Thing", "Add", {"x", 1}, {}, error::kInvalidArgs},
      {"test.Thing",
       "Add",
       {1, 2, 3},
       {},
       error::kInvalidArgs,
       "Add takes (nn); the call has (iii)"},
      {"test.Thing", "Opt", {2.5}, {}},
      {"test.Thing", "Opt", {1.0, 2.0}, {}, error::kInvalidArgs},
      {"test.Thing", "Nope", {}, {}, error::kUnknownMethod},
      {"test.Other", "Opt", {}, {}, error::kUnknownInterface},
      {props, "Set", setArgs("Small", 2.5), {}},
      {props, "Set", setArgs("Small", 70000), {}, error::kInvalidArgs, "Small: 70000"},
      {props, "Set", setArgs("Fixed", "x"), {}, error::kPropertyReadOnly},
      {props, "Set", setArgs("Missing", 1), {}, error::kUnknownProperty},
      {props, "Get", {"test.Other", "Small"}, {}, error::kUnknownInterface},
      {props, "Get", {"test.Thing", "Big"}, {}, error::kOverflow, "Big: too big"},
      // Nothing stored yet: the bus has no empty value.
      {props, "Get", {"test.Thing", "Any"}, {}, error::kFailed},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.member.toStdString() + " " +
                 QVariant(k.args).toStringList().join(',').toStdString());
    const QDBusMessage reply = call(k.interface, k.member, k.args);
    EXPECT_EQ(reply.errorName(), k.error ? QString::fromLatin1(k.error) : QString());
    EXPECT_TRUE(reply.errorMessage().contains(QString::fromLatin1(k.message)))
        << reply.errorMessage().toStdString();
    if (k.result.isValid()) EXPECT_EQ(reply.arguments().value(0), k.result);
  }
  EXPECT_EQ(optSeen, 2.5);
  EXPECT_EQ(call("test.Thing", "Opt", {}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(optSeen, -1.0);
  EXPECT_EQ(small, 2);  // 2.5 to even; 70000 refused
  EXPECT_EQ(valueOf(get("Small")).metaType(), QMetaType::fromType<std::int16_t>());
  const QDBusMessage intro = call("org.freedesktop.DBus.Introspectable", "Introspect", {});
  EXPECT_TRUE(intro.arguments().value(0).toString().contains(description.xml.trimmed()));
}

TEST_F(BusObjectTest, VariantPropertiesReadBackExactlyAsSet) {
  // A variant inside the variant stays one level deep, read after read.
  ASSERT_EQ(set("Any", QVariant::fromValue(QDBusVariant(5))).type(), QDBusMessage::ReplyMessage);
  for (int round = 0; round < 2; ++round) {
    const QDBusMessage reply = get("Any");
    const QVariant v = valueOf(reply);
    ASSERT_EQ(v.metaType(), QMetaType::fromType<QDBusVariant>());
    EXPECT_EQ(v.value<QDBusVariant>().variant(), QVariant(5));
    ASSERT_EQ(set("Any", v).type(), QDBusMessage::ReplyMessage);
  }
  // A structure comes back with its signature.
  QDBusArgument pair;
  pair.beginStructure();
  pair << QStringLiteral(":1.9") << QDBusObjectPath("/host");
  pair.endStructure();
  ASSERT_EQ(set("Any", QVariant::fromValue(pair)).type(), QDBusMessage::ReplyMessage);
  const QVariant back = valueOf(get("Any"));
  ASSERT_EQ(back.metaType(), QMetaType::fromType<QDBusArgument>());
  EXPECT_EQ(back.value<QDBusArgument>().currentSignature(), "(so)");
  ASSERT_EQ(set("Any", QStringList{"a", "b"}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(valueOf(get("Any")).toStringList(), (QStringList{"a", "b"}));
}

// GetAll leaves out what cannot be given: an overflow, and a variant with nothing stored.
TEST_F(BusObjectTest, GetAllLeavesOutWhatCannotBeGiven) {
  small = 9;
  const QDBusMessage all = call("org.freedesktop.DBus.Properties", "GetAll", {"test.Thing"});
  ASSERT_EQ(all.type(), QDBusMessage::ReplyMessage) << all.errorMessage().toStdString();
  QVariantMap values;
  all.arguments().at(0).value<QDBusArgument>() >> values;
  EXPECT_EQ(values.value("Small").toInt(), 9);
  EXPECT_EQ(values.value("Fixed").toString(), "fixed");
  EXPECT_FALSE(values.contains("Big"));
  EXPECT_FALSE(values.contains("Any"));
}

TEST_F(BusObjectTest, HandlersMustMatchTheInterface) {
  auto m = methods();
  m.erase("Opt()");
  EXPECT_THROW(BusObject(description, server, m, getters(), setters()), std::logic_error);
  m = methods();
  m["Extra()"] = m["Opt()"];
  EXPECT_THROW(BusObject(description, server, m, getters(), setters()), std::logic_error);
  auto s = setters();
  s.erase("Any");
  EXPECT_THROW(BusObject(description, server, methods(), getters(), s), std::logic_error);
}

// A handler that lets events run can see its own object released, and deferred deletes are
// carried out inside that event processing: the object must outlive its running handler and
// answer, and go once the handler has returned.
TEST_F(BusObjectTest, RetiredInsideItsOwnHandlerItAnswersAndThenGoes) {
  QPointer<BusObject> retiring;
  std::map<QString, BusObject::Setter> set = setters();
  set["Small"] = [&](const QVariant&) {
    retiring->retire();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(retiring.isNull());
  };
  retiring = new BusObject(description, server, methods(), getters(), std::move(set));
  ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/retiring"), retiring.data()));
  QDBusMessage call = QDBusMessage::createMethodCall(
      server.baseService(), QStringLiteral("/retiring"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
  call << description.name << QStringLiteral("Small")
       << QVariant::fromValue(QDBusVariant(QVariant::fromValue<std::int16_t>(3)));
  QDBusPendingCall pending = client.asyncCall(call);
  ASSERT_TRUE(test::waitUntil([&] { return pending.isFinished() && retiring.isNull(); }));
  EXPECT_FALSE(pending.isError()) << pending.error().message().toStdString();
  server.unregisterObject(QStringLiteral("/retiring"));
}

}  // namespace
}  // namespace orbelle::server

// The bus object's dispatch, on the private bus: forms, conversions and errors of methods and
// properties, deferred replies, and its check that handlers match the interface.

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
  <method name="Later"/>
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
    m["Later()"] = [this](const QVariantList&, const QDBusMessage& call) {
      kept = call;
      return Reply::deferred();
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
  QDBusMessage kept;
};

TEST_F(BusObjectTest, ArgumentsAreConvertedToTheDeclaredTypes) {
  const QDBusMessage sum = call("test.Thing", "Add", {QVariant(3), QVariant(4.0)});
  ASSERT_EQ(sum.type(), QDBusMessage::ReplyMessage) << sum.errorMessage().toStdString();
  EXPECT_EQ(sum.signature(), "i");
  EXPECT_EQ(sum.arguments().at(0).toInt(), 7);
  // Without an interface name the method is found too.
  EXPECT_EQ(call("", "Add", {QVariant(1), QVariant(1)}).arguments().value(0).toInt(), 2);

  const QDBusMessage wrapped = call("test.Thing", "Add", {QVariant(70000), QVariant(1)});
  EXPECT_EQ(wrapped.errorName(), error::kInvalidArgs);
  EXPECT_TRUE(wrapped.errorMessage().contains("Add argument 1, a: 70000 is outside"))
      << wrapped.errorMessage().toStdString();
  EXPECT_EQ(call("test.Thing", "Add", {QVariant("x"), QVariant(1)}).errorName(),
            error::kInvalidArgs);
  const QDBusMessage three = call("test.Thing", "Add", {1, 2, 3});
  EXPECT_EQ(three.errorName(), error::kInvalidArgs);
  EXPECT_TRUE(three.errorMessage().contains("Add takes (nn); the call has (iii)"))
      << three.errorMessage().toStdString();
}

TEST_F(BusObjectTest, FormsAreChosenByTheNumberOfArguments) {
  EXPECT_EQ(call("test.Thing", "Opt", {2.5}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(optSeen, 2.5);
  EXPECT_EQ(call("test.Thing", "Opt", {}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(optSeen, -1.0);
  EXPECT_EQ(call("test.Thing", "Opt", {1.0, 2.0}).errorName(), error::kInvalidArgs);
  EXPECT_EQ(call("test.Thing", "Nope", {}).errorName(), error::kUnknownMethod);
  EXPECT_EQ(call("test.Other", "Opt", {}).errorName(), error::kUnknownInterface);
}

TEST_F(BusObjectTest, PropertySettersGetCheckedValues) {
  ASSERT_EQ(set("Small", 2.5).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(small, 2);
  EXPECT_EQ(valueOf(get("Small")).metaType(), QMetaType::fromType<std::int16_t>());
  const QDBusMessage refused = set("Small", 70000);
  EXPECT_EQ(refused.errorName(), error::kInvalidArgs);
  EXPECT_TRUE(refused.errorMessage().startsWith("Small: 70000"))
      << refused.errorMessage().toStdString();
  EXPECT_EQ(small, 2);
  EXPECT_EQ(set("Fixed", "x").errorName(), error::kPropertyReadOnly);
  EXPECT_EQ(set("Missing", 1).errorName(), error::kUnknownProperty);
  EXPECT_EQ(call("org.freedesktop.DBus.Properties", "Get", {"test.Other", "Small"}).errorName(),
            error::kUnknownInterface);
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

TEST_F(BusObjectTest, AValueThatCannotBeGivenIsAnErrorAndLeftOutOfGetAll) {
  const QDBusMessage big = get("Big");
  EXPECT_EQ(big.errorName(), error::kOverflow);
  EXPECT_EQ(big.errorMessage(), "Big: too big");
  small = 9;
  const QDBusMessage all = call("org.freedesktop.DBus.Properties", "GetAll", {"test.Thing"});
  ASSERT_EQ(all.type(), QDBusMessage::ReplyMessage) << all.errorMessage().toStdString();
  QVariantMap values;
  all.arguments().at(0).value<QDBusArgument>() >> values;
  EXPECT_EQ(values.value("Small").toInt(), 9);
  EXPECT_EQ(values.value("Fixed").toString(), "fixed");
  EXPECT_FALSE(values.contains("Big"));
  // Nothing stored yet: the bus has no empty value, so it is neither given nor sent.
  EXPECT_FALSE(values.contains("Any"));
  EXPECT_EQ(get("Any").errorName(), error::kFailed);
}

TEST_F(BusObjectTest, DeferredRepliesGoOutWhenAnswered) {
  QDBusMessage m =
      QDBusMessage::createMethodCall(server.baseService(), kPath, "test.Thing", "Later");
  QDBusPendingCall pending = client.asyncCall(m);
  ASSERT_TRUE(test::waitUntil([&] { return kept.type() == QDBusMessage::MethodCallMessage; }));
  QCoreApplication::processEvents();
  EXPECT_FALSE(pending.isFinished());
  object->replyTo(kept, {QStringLiteral("done")});
  pending.waitForFinished();
  EXPECT_EQ(pending.reply().arguments().value(0).toString(), "done");
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

TEST_F(BusObjectTest, IntrospectionShowsTheInterfaceFromItsFile) {
  const QDBusMessage reply = call("org.freedesktop.DBus.Introspectable", "Introspect", {});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  const QString xml = reply.arguments().at(0).toString();
  EXPECT_TRUE(xml.contains(description.xml.trimmed())) << xml.toStdString();
  EXPECT_TRUE(xml.contains("org.freedesktop.DBus.Properties"));
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

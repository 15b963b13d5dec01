// A host that creates a server object, prints its path and holds it until it is killed: the
// client that dies in the tests of the program's lifetime.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QDBusConnection bus = QDBusConnection::sessionBus();
  const QDBusMessage reply =
      bus.call(QDBusMessage::createMethodCall("Orbelle.server", "/", "Orbelle.Factory", "Create"),
               QDBus::Block, 60000);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
    std::fprintf(stderr, "Create failed: %s\n", qPrintable(reply.errorMessage()));
    return 1;
  }
  std::printf("%s\n", qPrintable(reply.arguments().at(0).value<QDBusObjectPath>().path()));
  std::fflush(stdout);
  return QCoreApplication::exec();
}

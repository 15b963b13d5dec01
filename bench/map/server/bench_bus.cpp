// Round trips to the map over the session bus: a property set and an AddSpot call waited for one
// at a time (median and 99th percentile per call), and AddSpot calls sent back to back with a
// window of calls in flight (calls per second sustained). Targets: a property round trip under
// 0.3 ms at the median, 5,000 AddSpot calls per second.
//
// The program runs itself under dbus-run-session with a private bus that starts the build
// tree's orbelle, so the map is a separate process as a host meets it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const QString kService = QStringLiteral("Orbelle.server");
constexpr const char* kOnPrivateBus = "ORBELLE_BENCH_ON_PRIVATE_BUS";
// Calls in flight while AddSpot is sustained.
constexpr std::size_t kWindow = 64;

QString serverPath;

QDBusMessage serverCall(const QString& interface, const QString& member, const QVariantList& args) {
  QDBusMessage message = QDBusMessage::createMethodCall(kService, serverPath, interface, member);
  message.setArguments(args);
  return message;
}

QDBusMessage propertySet(int miles) {
  return serverCall(
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
      {QStringLiteral("Orbelle._server"), QStringLiteral("MaxDxMi"),
       QVariant::fromValue(QDBusVariant(QVariant::fromValue<short>(static_cast<short>(miles))))});
}

QDBusMessage addSpot(int n) {
  return serverCall(
      QStringLiteral("Orbelle._server"), QStringLiteral("AddSpot"),
      {10.0 + n % 60, 20.0, 255, 14025.5, QStringLiteral("CW"), QStringLiteral("K1ABC"),
       QStringLiteral("12:00"), QStringLiteral("W2XYZ"), QStringLiteral("loud"),
       QStringLiteral("Here"), 50.0, 0.0, 12632256.0, QStringLiteral("There"), 14030.0});
}

// Times each blocking call and reports the median and the 99th percentile in microseconds.
template <typename MakeCall>
void roundTrips(benchmark::State& state, MakeCall make) {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  std::vector<double> micros;
  int n = 0;
  for (auto _ : state) {
    const QDBusMessage call = make(n++);
    const Clock::time_point start = Clock::now();
    const QDBusMessage reply = bus.call(call);
    const double took = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (reply.type() != QDBusMessage::ReplyMessage) {
      state.SkipWithError(reply.errorMessage().toStdString().c_str());
      break;
    }
    micros.push_back(took);
  }
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

void BM_PropertySetRoundTrip(benchmark::State& state) {
  roundTrips(state, [](int n) { return propertySet(n % 2 == 0 ? 1000 : 2000); });
}
BENCHMARK(BM_PropertySetRoundTrip)->UseRealTime()->MinTime(2.0);

void BM_AddSpotRoundTrip(benchmark::State& state) {
  roundTrips(state, [](int n) { return addSpot(n); });
}
BENCHMARK(BM_AddSpotRoundTrip)->UseRealTime()->MinTime(2.0);

void BM_AddSpotSustained(benchmark::State& state) {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  std::deque<QDBusPendingCall> inFlight;
  int n = 0;
  const auto settle = [&](std::size_t keep) {
    while (inFlight.size() > keep) {
      inFlight.front().waitForFinished();
      if (inFlight.front().isError()) {
        state.SkipWithError(inFlight.front().error().message().toStdString().c_str());
      }
      inFlight.pop_front();
    }
  };
  for (auto _ : state) {
    inFlight.push_back(bus.asyncCall(addSpot(n++)));
    settle(kWindow);
  }
  settle(0);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AddSpotSustained)->UseRealTime()->MinTime(2.0);

// Runs the program again under its own private bus.
int rerunOnPrivateBus(char** argv) {
  setenv(kOnPrivateBus, "1", 1);
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string config = std::string("--config-file=") + ORBELLE_BENCH_BUS_CONFIG;
  std::vector<char*> args = {const_cast<char*>("dbus-run-session"),
                             const_cast<char*>(config.c_str()), const_cast<char*>("--"),
                             const_cast<char*>(self.c_str())};
  for (char** arg = argv + 1; *arg; ++arg) args.push_back(*arg);
  args.push_back(nullptr);
  execvp("dbus-run-session", args.data());
  std::perror("bench_bus: dbus-run-session");
  return 1;
}

// Starts the map through the bus (working in `dataHome`) and creates a server object.
bool startMap(const QString& dataHome) {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  qDBusRegisterMetaType<QMap<QString, QString>>();
  const QMap<QString, QString> environment = {{"XDG_DATA_HOME", dataHome},
                                              {"ORBELLE_MESSAGE_LOG", dataHome + "/messages.log"},
                                              {"QT_QPA_PLATFORM", "offscreen"}};
  QDBusMessage update =
      QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "UpdateActivationEnvironment");
  update << QVariant::fromValue(environment);
  if (bus.call(update).type() != QDBusMessage::ReplyMessage) return false;
  const QDBusMessage created =
      bus.call(QDBusMessage::createMethodCall(kService, "/", "Orbelle.Factory", "Create"),
               QDBus::Block, 60000);
  if (created.type() != QDBusMessage::ReplyMessage) {
    std::fprintf(stderr, "bench_bus: Create failed: %s\n", qPrintable(created.errorMessage()));
    return false;
  }
  serverPath = created.arguments().value(0).value<QDBusObjectPath>().path();
  return true;
}

void stopMap() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  bus.call(serverCall(QStringLiteral("Orbelle._server"), QStringLiteral("Release"), {}));
  for (int i = 0; i < 500 && bus.interface()->isServiceRegistered(kService); ++i) {
    QThread::msleep(10);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariable(kOnPrivateBus) != QLatin1String("1")) return rerunOnPrivateBus(argv);
  QCoreApplication app(argc, argv);
  QTemporaryDir dataHome;
  if (!dataHome.isValid() || !startMap(dataHome.path())) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  stopMap();
  return 0;
}

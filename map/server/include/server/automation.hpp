#pragma once

// The map on the bus: the factory at /, the window object at /Form1 and the server objects at
// /server/N, and their lifetime. Creating a server object claims the window (the close box then
// only hides it); destroying one (Release, or its creator leaving the bus) asks the model to
// unload the window, which writes the settings. When neither a loaded window nor a server object
// remains, the program ends through the end handler.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>

#include "server/bus_callback.hpp"
#include "server/model_access.hpp"

namespace orbelle::model {
class MapModel;
}

namespace orbelle::server {

class BusObject;

inline constexpr const char* kServiceName = "Orbelle.server";
inline constexpr const char* kFactoryPath = "/";
inline constexpr const char* kWindowPath = "/Form1";
inline constexpr const char* kServerPathPrefix = "/server/";

// The state of one server object.
struct ServerState {
  int number = 0;
  QString creator;       // unique bus name of the caller of Create; empty for CreateDetached
  QVariant Form;         // the window object's path from creation on
  QVariant CallbackRef;  // stored only
};

class Automation : public QObject {
  Q_OBJECT

 public:
  struct Options {
    // When the bus goes away the program ends too (it was started by the bus); otherwise the
    // window stays for the operator.
    bool endWithBus = false;
    int callbackTimeoutMs = kCallbackTimeoutMs;
  };

  // The end handler is called once, when the window has unloaded and no server object remains.
  Automation(model::MapModel& model, QDBusConnection connection, Options options,
             std::function<void()> onEnd);
  ~Automation() override;
  Automation(const Automation&) = delete;
  Automation& operator=(const Automation&) = delete;

  // Registers / and /Form1, then claims the bus name. False, with the bus's reason in `error`,
  // when either fails (the name belongs to another instance, say).
  bool registerObjects(QString* error);
  bool registerService(QString* error);

  // ---- used by the bus objects ----
  // A new server object; creator empty: not tied to a connection. Throws BusError.
  QDBusObjectPath create(const QString& creator);
  // The state of a live server object; throws BusError (UnknownObject) for one released.
  ServerState& server(int number);
  // The creation steps (also class_initialize): ServerActive, Form, Callback emptied.
  void initialize(ServerState& state);
  // Destroys the object and unloads the window.
  void release(int number);
  ModelAccess& access() noexcept { return access_; }
  // The program-wide reference kept by setcallerref.
  void setCallerRef(const QVariant& value) { callerRef_ = value; }
  const QVariant& CallerRef() const noexcept { return callerRef_; }

  std::size_t serverCount() const noexcept { return servers_.size(); }
  QDBusConnection connection() const { return connection_; }
  static QString serverPath(int number);

 private slots:
  void creatorLeft(const QString& service);
  void busDisconnected();

 private:
  void watchCreator(const QString& creator);
  void endIfDone();

  model::MapModel& model_;
  QDBusConnection connection_;
  Options options_;
  std::function<void()> onEnd_;
  ModelAccess access_;
  QDBusServiceWatcher creators_;
  BusObject* factory_ = nullptr;
  BusObject* windowObject_ = nullptr;
  struct Server {
    ServerState state;
    BusObject* object = nullptr;
  };
  std::map<int, Server> servers_;
  int nextNumber_ = 1;
  QVariant callerRef_;
  bool serviceOwned_ = false;
  bool ended_ = false;
};

// The bus objects' handler tables (server_object.cpp, window_object.cpp, automation.cpp).
BusObject* makeServerObject(Automation& automation, int number);
BusObject* makeWindowObject(Automation& automation);
BusObject* makeFactoryObject(Automation& automation);

}  // namespace orbelle::server

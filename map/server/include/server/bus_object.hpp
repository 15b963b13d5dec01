#pragma once

// One object on the bus serving one interface of the built-in introspection files. It answers
// method calls and the standard property calls (Get, Set, GetAll) itself, so that every
// argument and every value set is converted and checked against the declared type and a wrong
// one gets an error reply with a clear message; Qt adds the introspection and peer interfaces.
//
// Handlers run on the GUI thread and may let events run (a drawing pass does), so a handler can
// be entered again from inside itself; the handler tables never change after construction.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "server/bus_values.hpp"
#include "server/interface_description.hpp"

namespace orbelle::server {

// What a method handler produces: the reply's arguments, or nothing yet because the handler
// keeps the call and answers it later (BusObject::replyTo).
struct Reply {
  QVariantList arguments;
  bool later = false;
  static Reply deferred() { return Reply{{}, true}; }
};

class BusObject : public QDBusVirtualObject {
 public:
  // Arguments converted to the declared types of the form that matched the call.
  using Method = std::function<Reply(const QVariantList& args, const QDBusMessage& call)>;
  // Getters and setters throw BusError to refuse.
  using Getter = std::function<QVariant()>;
  using Setter = std::function<void(const QVariant& value)>;

  // The handlers must cover the interface exactly: one per method form, keyed by name and input
  // signature ("DrawPath(dd)", "DrawPath(d)", "DrawPath()"), a getter per readable and a setter
  // per writable property. Throws std::logic_error naming what is missing or unknown.
  BusObject(const InterfaceDescription& interface, QDBusConnection connection,
            std::map<QString, Method> methods, std::map<QString, Getter> getters,
            std::map<QString, Setter> setters, QObject* parent = nullptr);

  const InterfaceDescription& interface() const noexcept { return interface_; }
  QDBusConnection connection() const { return connection_; }

  // Answers a call whose handler returned Reply::deferred().
  void replyTo(const QDBusMessage& call, const QVariantList& arguments = {}) const;
  void errorTo(const QDBusMessage& call, const BusError& error) const;

  // The key of a method form: name and input signature.
  static QString formKey(const QString& name, const QString& inSignature);

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  // Deletes the object (deleteLater) once none of its handlers is running. A handler that lets
  // events run (a drawing pass, an overlay refresh) can see its own object released, and a
  // deferred delete is carried out inside that nested event processing.
  void retire();

 private:
  void callMethod(const QDBusMessage& message);
  void getProperty(const QDBusMessage& message);
  void setProperty(const QDBusMessage& message);
  void getAllProperties(const QDBusMessage& message);
  // The property a Get or Set names, after checking the interface it names.
  const PropertyDescription& namedProperty(const QDBusMessage& message) const;
  void send(const QDBusMessage& message) const;

  const InterfaceDescription& interface_;
  QDBusConnection connection_;
  std::vector<Method> formHandlers_;  // in the order of interface_.methods
  std::map<QString, Getter> getters_;
  std::map<QString, Setter> setters_;
  int running_ = 0;  // handlers of this object on the stack
  bool retired_ = false;
};

}  // namespace orbelle::server

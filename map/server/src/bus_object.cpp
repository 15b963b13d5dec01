#include "server/bus_object.hpp"

#include <QDBusVariant>
#include <QScopeGuard>
#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace orbelle::server {
namespace {

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kIntrospectable = QStringLiteral("org.freedesktop.DBus.Introspectable");
const QString kPeer = QStringLiteral("org.freedesktop.DBus.Peer");

BusError busError(const char* name, const QString& message) {
  return BusError(QString::fromLatin1(name), message);
}

QString formsText(const std::vector<const MethodDescription*>& forms) {
  QStringList signatures;
  for (const MethodDescription* form : forms) {
    signatures << QStringLiteral("(%1)").arg(form->inSignature());
  }
  return signatures.join(QStringLiteral(" or "));
}

}  // namespace

BusObject::BusObject(const InterfaceDescription& interface, QDBusConnection connection,
                     std::map<QString, Method> methods, std::map<QString, Getter> getters,
                     std::map<QString, Setter> setters, QObject* parent)
    : QDBusVirtualObject(parent),
      interface_(interface),
      connection_(std::move(connection)),
      getters_(std::move(getters)),
      setters_(std::move(setters)) {
  for (const MethodDescription& m : interface_.methods) {
    const auto handler = methods.find(formKey(m.name, m.inSignature()));
    if (handler == methods.end()) {
      throw std::logic_error("no handler for " + interface_.name.toStdString() + "." +
                             formKey(m.name, m.inSignature()).toStdString());
    }
    formHandlers_.push_back(handler->second);
  }
  std::size_t readable = 0;
  std::size_t writable = 0;
  for (const PropertyDescription& p : interface_.properties) {
    readable += p.readable ? 1 : 0;
    writable += p.writable ? 1 : 0;
    if ((p.readable && !getters_.count(p.name)) || (p.writable && !setters_.count(p.name))) {
      throw std::logic_error("no getter or setter for " + interface_.name.toStdString() + "." +
                             p.name.toStdString());
    }
  }
  if (methods.size() != interface_.methods.size() || getters_.size() != readable ||
      setters_.size() != writable) {
    throw std::logic_error("handlers for members that " + interface_.name.toStdString() +
                           " does not declare");
  }
}

QString BusObject::formKey(const QString& name, const QString& inSignature) {
  return QStringLiteral("%1(%2)").arg(name, inSignature);
}

void BusObject::send(const QDBusMessage& message) const { connection_.send(message); }

void BusObject::replyTo(const QDBusMessage& call, const QVariantList& arguments) const {
  if (!call.isReplyRequired()) return;
  for (const QVariant& argument : arguments) {
    // The bus has no empty value, and writing one aborts the connection's library.
    if (!argument.isValid()) {
      errorTo(call, busError(error::kFailed, QStringLiteral("%1: no value").arg(call.member())));
      return;
    }
  }
  send(call.createReply(arguments));
}

void BusObject::errorTo(const QDBusMessage& call, const BusError& error) const {
  if (!call.isReplyRequired()) return;
  send(call.createErrorReply(error.name(), error.message()));
}

QString BusObject::introspect(const QString&) const { return interface_.xml; }

void BusObject::retire() {
  retired_ = true;
  if (running_ == 0) deleteLater();
}

bool BusObject::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
  if (message.type() != QDBusMessage::MethodCallMessage) return false;
  const QString iface = message.interface();
  const QString member = message.member();
  // Qt answers introspection (with introspect() above) and peer calls.
  if (iface == kIntrospectable || iface == kPeer) return false;
  const bool ours = !interface_.forms(member).empty();
  if (iface.isEmpty() && !ours &&
      (member == QLatin1String("Introspect") || member == QLatin1String("Ping") ||
       member == QLatin1String("GetMachineId"))) {
    return false;
  }
  ++running_;
  const auto done = qScopeGuard([this] {
    if (--running_ == 0 && retired_) deleteLater();
  });
  try {
    const bool properties = iface == kProperties ||
                            (iface.isEmpty() && !ours &&
                             (member == QLatin1String("Get") || member == QLatin1String("Set") ||
                              member == QLatin1String("GetAll")));
    if (properties) {
      const QString signature = message.signature();
      if (member == QLatin1String("Get") && signature == QLatin1String("ss")) {
        getProperty(message);
      } else if (member == QLatin1String("Set") && signature == QLatin1String("ssv")) {
        setProperty(message);
      } else if (member == QLatin1String("GetAll") && signature == QLatin1String("s")) {
        getAllProperties(message);
      } else {
        throw busError(
            error::kUnknownMethod,
            QStringLiteral("No method %1(%2) in %3").arg(member, signature, kProperties));
      }
    } else if (!iface.isEmpty() && iface != interface_.name) {
      throw busError(error::kUnknownInterface,
                     QStringLiteral("No interface %1 at %2").arg(iface, message.path()));
    } else {
      callMethod(message);
    }
  } catch (const BusError& e) {
    errorTo(message, e);
  } catch (const std::exception& e) {
    errorTo(message, busError(error::kFailed, QStringLiteral("%1: %2").arg(
                                                  member, QString::fromStdString(e.what()))));
  }
  return true;
}

void BusObject::callMethod(const QDBusMessage& message) {
  const QString member = message.member();
  const QVariantList given = message.arguments();
  bool known = false;
  for (std::size_t form = 0; form < interface_.methods.size(); ++form) {
    const MethodDescription& method = interface_.methods[form];
    if (method.name != member) continue;
    known = true;
    if (method.in.size() != given.size()) continue;
    QVariantList args;
    args.reserve(given.size());
    for (qsizetype i = 0; i < given.size(); ++i) {
      const ArgDescription& declared = method.in.at(i);
      try {
        args << toDeclaredType(given.at(i), declared.type, declared.name);
      } catch (const BusError& e) {
        throw BusError(
            e.name(), QStringLiteral("%1 argument %2, %3").arg(member).arg(i + 1).arg(e.message()));
      }
    }
    const Reply reply = formHandlers_[form](args, message);
    if (!reply.later) replyTo(message, reply.arguments);
    return;
  }
  if (!known) {
    throw busError(error::kUnknownMethod,
                   QStringLiteral("No method %1 in %2").arg(member, interface_.name));
  }
  throw busError(error::kInvalidArgs,
                 QStringLiteral("%1 takes %2; the call has (%3)")
                     .arg(member, formsText(interface_.forms(member)), message.signature()));
}

const PropertyDescription& BusObject::namedProperty(const QDBusMessage& message) const {
  const QString iface = message.arguments().at(0).toString();
  const QString name = message.arguments().at(1).toString();
  if (!iface.isEmpty() && iface != interface_.name) {
    throw busError(error::kUnknownInterface,
                   QStringLiteral("No interface %1 at %2").arg(iface, message.path()));
  }
  const PropertyDescription* property = interface_.property(name);
  if (!property) {
    throw busError(error::kUnknownProperty,
                   QStringLiteral("No property %1 in %2").arg(name, interface_.name));
  }
  return *property;
}

void BusObject::getProperty(const QDBusMessage& message) {
  const PropertyDescription& property = namedProperty(message);
  if (!property.readable) {
    throw busError(error::kFailed, QStringLiteral("%1 is write-only").arg(property.name));
  }
  const QVariant value = getters_.at(property.name)();
  if (!value.isValid()) {
    throw busError(error::kFailed, QStringLiteral("%1 holds no value").arg(property.name));
  }
  replyTo(message, {QVariant::fromValue(QDBusVariant(value))});
}

void BusObject::setProperty(const QDBusMessage& message) {
  const PropertyDescription& property = namedProperty(message);
  if (!property.writable) {
    throw busError(error::kPropertyReadOnly, QStringLiteral("%1 is read-only").arg(property.name));
  }
  const QVariant given = message.arguments().at(2).value<QDBusVariant>().variant();
  // A variant property keeps what it was given, one level of variant included, so that it
  // reads back exactly as set.
  const QVariant value = property.type == QLatin1String("v")
                             ? given
                             : toDeclaredType(given, property.type, property.name);
  setters_.at(property.name)(value);
  replyTo(message);
}

void BusObject::getAllProperties(const QDBusMessage& message) {
  const QString iface = message.arguments().at(0).toString();
  QVariantMap values;
  if (iface.isEmpty() || iface == interface_.name) {
    for (const PropertyDescription& property : interface_.properties) {
      if (!property.readable) continue;
      try {
        const QVariant value = getters_.at(property.name)();
        if (value.isValid()) values.insert(property.name, value);
      } catch (const BusError&) {
        // A value that cannot be given (it overflows its type) is left out, like an empty one,
        // rather than making the whole answer fail; Get on it says why.
      }
    }
  }
  replyTo(message, {values});
}

}  // namespace orbelle::server

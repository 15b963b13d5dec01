#pragma once

// Values crossing the bus: the errors the map replies with, and the conversion of an incoming
// value into the type a member declares. Hosts write numbers in whatever width their language
// uses, so a declared integer accepts any integer, or a double rounded to the nearest integer
// (ties to even), as long as the result fits; anything else is refused with an error reply, never
// wrapped or truncated silently.

#include <QDBusObjectPath>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <stdexcept>

namespace orbelle::server {

// Error names of the map's replies.
namespace error {
inline constexpr const char* kInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
inline constexpr const char* kUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
inline constexpr const char* kUnknownInterface = "org.freedesktop.DBus.Error.UnknownInterface";
inline constexpr const char* kUnknownObject = "org.freedesktop.DBus.Error.UnknownObject";
inline constexpr const char* kUnknownProperty = "org.freedesktop.DBus.Error.UnknownProperty";
inline constexpr const char* kPropertyReadOnly = "org.freedesktop.DBus.Error.PropertyReadOnly";
inline constexpr const char* kFailed = "org.freedesktop.DBus.Error.Failed";
// A value the map holds does not fit the member's 16-bit type.
inline constexpr const char* kOverflow = "Orbelle.Error.Overflow";
// A picture file that cannot be written or read.
inline constexpr const char* kPictureFile = "Orbelle.Error.PictureFile";
// The map window has been unloaded (a server object destroyed it); it cannot be used any more.
inline constexpr const char* kWindowUnloaded = "Orbelle.Error.WindowUnloaded";
}  // namespace error

// An error reply: the D-Bus error name and a message that says what went wrong.
class BusError : public std::runtime_error {
 public:
  BusError(QString name, const QString& message)
      : std::runtime_error(message.toStdString()), name_(std::move(name)) {}
  const QString& name() const noexcept { return name_; }
  QString message() const { return QString::fromStdString(what()); }

 private:
  QString name_;
};

// The host's callback object named on the bus: a bus name and an object path, signature (so).
struct BusObjectRef {
  QString service;
  QDBusObjectPath path;
  friend bool operator==(const BusObjectRef& a, const BusObjectRef& b) {
    return a.service == b.service && a.path.path() == b.path.path();
  }
};

// Registers BusObjectRef with QtDBus (once; any thread).
void registerBusTypes();

// True for a well-formed unique (":1.42") or well-known ("org.example.Host") bus name.
bool isValidBusName(const QString& name);

// Converts `value`, as QtDBus delivered it (short, int, double, QString, QDBusVariant,
// QDBusArgument, ...), into the declared D-Bus type `type` ("n", "i", "d", "b", "s", "o" or "v").
// A variant is returned unwrapped: its contents, as delivered. Throws BusError (InvalidArgs)
// whose message names `what` and the fault.
QVariant toDeclaredType(const QVariant& value, const QString& type, const QString& what);

// A value the map holds as a 16-bit result: rounds to the nearest integer (ties to even) and
// throws BusError (Overflow) naming `what` when it does not fit.
std::int16_t checkedInt16(double value, const QString& what);

// The (so) struct in a delivered value, or false when the value is anything else.
bool busObjectRefOf(const QVariant& value, BusObjectRef& ref);

}  // namespace orbelle::server

Q_DECLARE_METATYPE(orbelle::server::BusObjectRef)

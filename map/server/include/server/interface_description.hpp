#pragma once

// D-Bus interfaces as the introspection files in map/server/dbus/ describe them. The files are
// built into the program; the bus objects take their members, argument types and the
// introspection data they report from here, so the files are the one description of what the
// map offers on the bus.

#include <QList>
#include <QString>
#include <vector>

namespace orbelle::server {

struct ArgDescription {
  QString name;
  QString type;  // one complete D-Bus type
};

struct MethodDescription {
  QString name;
  QList<ArgDescription> in;
  QList<ArgDescription> out;
  QString inSignature() const;
};

struct PropertyDescription {
  QString name;
  QString type;
  bool readable = false;
  bool writable = false;
};

struct InterfaceDescription {
  QString name;
  // In file order. A method listed several times (optional arguments) has one entry per form.
  std::vector<MethodDescription> methods;
  std::vector<PropertyDescription> properties;
  // The interface element as it stands in the file, for introspection replies.
  QString xml;

  const PropertyDescription* property(const QString& propertyName) const;
  // Every form of a method, in file order; empty when there is none.
  std::vector<const MethodDescription*> forms(const QString& methodName) const;
};

// The D-Bus types that the bus objects convert and check: 16- and 32-bit integers, doubles,
// booleans, strings, object paths and variants.
bool isSupportedType(const QString& type);

// Parses an introspection document. Throws std::runtime_error naming the fault for a document
// that is not well formed, an element without a name, or an unsupported type.
std::vector<InterfaceDescription> parseIntrospection(const QString& document);

// One of the interfaces built into the program ("Orbelle._server", "Orbelle.Form1",
// "Orbelle.Factory"), parsed once. Throws std::runtime_error for an unknown name.
const InterfaceDescription& builtInInterface(const QString& name);

}  // namespace orbelle::server

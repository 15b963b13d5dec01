#include "server/interface_description.hpp"

#include <QFile>
#include <QXmlStreamReader>
#include <map>
#include <stdexcept>

namespace orbelle::server {
namespace {

QString signatureOf(const QList<ArgDescription>& args) {
  QString signature;
  for (const ArgDescription& arg : args) signature += arg.type;
  return signature;
}

[[noreturn]] void fail(const QXmlStreamReader& reader, const QString& fault) {
  throw std::runtime_error(QStringLiteral("introspection data, line %1: %2")
                               .arg(reader.lineNumber())
                               .arg(fault)
                               .toStdString());
}

QString requiredAttribute(const QXmlStreamReader& reader, const char* name) {
  const QString value = reader.attributes().value(QLatin1String(name)).toString();
  if (value.isEmpty()) {
    fail(reader, QStringLiteral("<%1> without %2").arg(reader.name().toString(), name));
  }
  return value;
}

QString checkedType(const QXmlStreamReader& reader) {
  const QString type = requiredAttribute(reader, "type");
  if (!isSupportedType(type)) fail(reader, QStringLiteral("unsupported type \"%1\"").arg(type));
  return type;
}

void readArg(QXmlStreamReader& reader, MethodDescription& method) {
  ArgDescription arg;
  arg.name = reader.attributes().value(QLatin1String("name")).toString();
  arg.type = checkedType(reader);
  const QString direction = reader.attributes().value(QLatin1String("direction")).toString();
  if (direction == QLatin1String("out")) {
    method.out.append(arg);
  } else if (direction.isEmpty() || direction == QLatin1String("in")) {
    method.in.append(arg);
  } else {
    fail(reader, QStringLiteral("argument direction \"%1\"").arg(direction));
  }
  reader.skipCurrentElement();
}

MethodDescription readMethod(QXmlStreamReader& reader) {
  MethodDescription method;
  method.name = requiredAttribute(reader, "name");
  while (reader.readNextStartElement()) {
    if (reader.name() == QLatin1String("arg")) {
      readArg(reader, method);
    } else {
      reader.skipCurrentElement();  // annotations
    }
  }
  return method;
}

PropertyDescription readProperty(QXmlStreamReader& reader) {
  PropertyDescription property;
  property.name = requiredAttribute(reader, "name");
  property.type = checkedType(reader);
  const QString access = requiredAttribute(reader, "access");
  property.readable = access == QLatin1String("read") || access == QLatin1String("readwrite");
  property.writable = access == QLatin1String("write") || access == QLatin1String("readwrite");
  if (!property.readable && !property.writable) {
    fail(reader, QStringLiteral("property access \"%1\"").arg(access));
  }
  reader.skipCurrentElement();
  return property;
}

InterfaceDescription readInterface(QXmlStreamReader& reader, const QString& document) {
  // The start tag has been read: the element begins at the last "<interface" before here.
  const qsizetype begin = document.lastIndexOf(QLatin1String("<interface"),
                                               static_cast<qsizetype>(reader.characterOffset()));
  InterfaceDescription description;
  description.name = requiredAttribute(reader, "name");
  while (reader.readNextStartElement()) {
    if (reader.name() == QLatin1String("method")) {
      description.methods.push_back(readMethod(reader));
    } else if (reader.name() == QLatin1String("property")) {
      description.properties.push_back(readProperty(reader));
    } else {
      reader.skipCurrentElement();  // signals and annotations: the map sends none
    }
  }
  const auto end = static_cast<qsizetype>(reader.characterOffset());
  description.xml = QStringLiteral("  ") + document.mid(begin, end - begin) + QLatin1Char('\n');
  return description;
}

std::map<QString, InterfaceDescription> loadBuiltIn() {
  std::map<QString, InterfaceDescription> interfaces;
  for (const char* file : {"Orbelle._server.xml", "Orbelle.Form1.xml", "Orbelle.Factory.xml"}) {
    QFile resource(QStringLiteral(":/orbelle/dbus/") + QLatin1String(file));
    if (!resource.open(QIODevice::ReadOnly)) {
      throw std::runtime_error(std::string("built-in introspection file missing: ") + file);
    }
    for (InterfaceDescription& d : parseIntrospection(QString::fromUtf8(resource.readAll()))) {
      const QString name = d.name;
      interfaces.emplace(name, std::move(d));
    }
  }
  return interfaces;
}

}  // namespace

QString MethodDescription::inSignature() const { return signatureOf(in); }

const PropertyDescription* InterfaceDescription::property(const QString& propertyName) const {
  for (const PropertyDescription& p : properties) {
    if (p.name == propertyName) return &p;
  }
  return nullptr;
}

std::vector<const MethodDescription*> InterfaceDescription::forms(const QString& methodName) const {
  std::vector<const MethodDescription*> found;
  for (const MethodDescription& m : methods) {
    if (m.name == methodName) found.push_back(&m);
  }
  return found;
}

bool isSupportedType(const QString& type) {
  static const QStringList supported = {
      QStringLiteral("n"), QStringLiteral("i"), QStringLiteral("d"), QStringLiteral("b"),
      QStringLiteral("s"), QStringLiteral("o"), QStringLiteral("v")};
  return supported.contains(type);
}

std::vector<InterfaceDescription> parseIntrospection(const QString& document) {
  std::vector<InterfaceDescription> interfaces;
  QXmlStreamReader reader(document);
  if (!reader.readNextStartElement() || reader.name() != QLatin1String("node")) {
    fail(reader, QStringLiteral("no <node> element"));
  }
  while (reader.readNextStartElement()) {
    if (reader.name() == QLatin1String("interface")) {
      interfaces.push_back(readInterface(reader, document));
    } else {
      reader.skipCurrentElement();
    }
  }
  if (reader.hasError()) fail(reader, reader.errorString());
  return interfaces;
}

const InterfaceDescription& builtInInterface(const QString& name) {
  static const std::map<QString, InterfaceDescription> interfaces = loadBuiltIn();
  const auto found = interfaces.find(name);
  if (found == interfaces.end()) {
    throw std::runtime_error("no built-in D-Bus interface " + name.toStdString());
  }
  return found->second;
}

}  // namespace orbelle::server

#include "objects.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "errors.hpp"
#include "text.hpp"

namespace foxhost {
namespace {

// Forms open one below the other, each with a border and a title bar around its client area.
constexpr int32_t kFormWidth = 640, kFormHeight = 480, kBorder = 4, kTitle = 23;

}  // namespace

uint32_t Objects::create(const std::string &className, Windows &windows) {
  const std::string cls = toLower(className);
  Object o;
  o.className = cls;
  const uint32_t id = next_;
  if (cls == "textbox") {
    o.properties["VALUE"] = Value::Text({});
    o.properties["SELSTART"] = Value::Integer(0);
  } else if (cls == "form") {
    const auto offset = static_cast<int32_t>((id % 20) * 24);
    const WindowRect frame{100 + offset, 80 + offset, kFormWidth, kFormHeight};
    o.window = windows.create(frame);
    o.clientWindow = windows.create({frame.left + kBorder, frame.top + kBorder + kTitle,
                                     kFormWidth - 2 * kBorder, kFormHeight - 2 * kBorder - kTitle});
    o.properties["CAPTION"] = Value::Text("Form" + std::to_string(id));
  } else {
    err::fail(err::kClassNotFound, "Class definition " + className + " is not found");
  }
  objects_.emplace(id, std::move(o));
  ++next_;
  return id;
}

namespace {
[[noreturn]] void noSuchObject(uint32_t object) {
  err::fail(err::kNotAnObject, "Object " + std::to_string(object) + " does not exist");
}
}  // namespace

const Objects::Object &Objects::find(uint32_t object) const {
  const auto it = objects_.find(object);
  if (it == objects_.end()) noSuchObject(object);
  return it->second;
}

Objects::Object &Objects::find(uint32_t object) {
  const auto it = objects_.find(object);
  if (it == objects_.end()) noSuchObject(object);
  return it->second;
}

Value Objects::get(uint32_t object, const std::string &name) const {
  const Object &o = find(object);
  const auto it = o.properties.find(toUpper(name));
  if (it == o.properties.end()) {
    err::fail(err::kPropertyNotFound, "Property " + toUpper(name) + " is not found");
  }
  return it->second;
}

void Objects::set(uint32_t object, const std::string &name, const Value &value, bool add) {
  Object &o = find(object);
  const std::string key = toUpper(name);
  if (key.empty()) err::fail(err::kPropertyNotFound, "Property name is empty");
  const auto it = o.properties.find(key);
  if (it == o.properties.end() && !add) {
    err::fail(err::kPropertyNotFound, "Property " + key + " is not found");
  }
  Value stored = value;
  if (o.className == "textbox" && key == "SELSTART") {
    if (value.type != 'I' && value.type != 'N') {
      err::fail(err::kTypeMismatch, "SELSTART must be a number");
    }
    const double wanted = std::trunc(value.number);
    if (!(wanted >= 0)) err::fail(err::kOutOfRange, "SELSTART must be a number from 0 up");
    const Value &text = o.properties["VALUE"];
    const double length = text.type == 'C' ? static_cast<double>(text.text.size()) : 0;
    stored = Value::Integer(static_cast<int32_t>(std::min(wanted, length)));
  }
  o.properties[key] = stored;
  if (o.className == "textbox" && key == "VALUE") {
    Value &selStart = o.properties["SELSTART"];
    const auto length = value.type == 'C'
                            ? static_cast<int32_t>(std::min<size_t>(value.text.size(), INT32_MAX))
                            : 0;
    if (selStart.integer > length) selStart = Value::Integer(length);
  }
}

int32_t Objects::window(uint32_t object, bool client) const {
  const Object &o = find(object);
  return client ? o.clientWindow : o.window;
}

}  // namespace foxhost

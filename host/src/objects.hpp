// Host objects made by CREATEOBJECT: a "textbox" (VALUE, SELSTART) and a "form" (CAPTION, with
// a window and a client window). Any property may be added; names are case-blind.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "foxhost/host.hpp"
#include "windows.hpp"

namespace foxhost {

class Objects {
 public:
  // Throws HostError for an unknown class.
  uint32_t create(const std::string &className, Windows &windows);
  bool exists(uint32_t object) const { return objects_.count(object) != 0; }

  // Throw HostError for an unknown object or property; setting a property the object does not
  // have is an error unless `add`. SELSTART of a text box stays within its text.
  Value get(uint32_t object, const std::string &name) const;
  void set(uint32_t object, const std::string &name, const Value &value, bool add);

  // The object's window or client window; 0 when the object has none.
  int32_t window(uint32_t object, bool client) const;

 private:
  struct Object {
    std::string className;                    // lower case
    std::map<std::string, Value> properties;  // upper-case names
    int32_t window = 0;
    int32_t clientWindow = 0;
  };
  const Object &find(uint32_t object) const;
  Object &find(uint32_t object);

  std::map<uint32_t, Object> objects_;
  uint32_t next_ = 1;
};

}  // namespace foxhost

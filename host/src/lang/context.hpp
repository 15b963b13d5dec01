// What the language needs from the host that runs it. Every method may throw HostError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foxhost/host.hpp"

namespace foxhost::lang {

class Context {
 public:
  virtual ~Context() = default;

  // Names arrive in upper case.
  virtual Value variable(const std::string &name) = 0;
  virtual void setVariable(const std::string &name, const Value &value) = 0;
  virtual Value property(const Value &object, const std::string &name) = 0;
  virtual void setProperty(const Value &object, const std::string &name, const Value &value) = 0;
  virtual uint32_t createObject(const std::string &className) = 0;

  // A function of a loaded library; throws when no library has it.
  virtual Value callLibrary(const std::string &name, const std::vector<Value> &args) = 0;

  virtual std::string dateSetting() = 0;
  virtual void setDateSetting(const std::string &setting) = 0;
  // SET("name"): the current value of a setting as text.
  virtual std::string setting(const std::string &name) = 0;
  virtual void setLibrary(const std::string &path, bool additive) = 0;

  virtual void print(const std::string &text) = 0;
  // No text: the default prompt. Without nowait, waits for a key.
  virtual void waitWindow(const std::optional<std::string> &text, bool nowait) = 0;
  virtual void waitClear() = 0;
  virtual void quit() = 0;
};

}  // namespace foxhost::lang

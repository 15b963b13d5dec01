#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

#include "ini/date_time.hpp"

namespace orbelle {

// Automation variant type codes of the values the settings helpers handle. Empty and Null exist
// so that a value of an unsupported type can be passed (and refused) like any other.
enum class VarType : std::int16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,  // 16-bit integer
  Long = 3,     // 32-bit integer
  Single = 4,
  Double = 5,
  Date = 7,
  String = 8,
  Boolean = 11,
};

// A small variant value: one of the types above, nothing else.
class Variant {
 public:
  struct EmptyValue {
    friend bool operator==(EmptyValue, EmptyValue) = default;
  };
  struct NullValue {
    friend bool operator==(NullValue, NullValue) = default;
  };

  Variant() = default;  // Empty
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(float v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(DateTime v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(bool v) : value_(v) {}

  static Variant null() {
    Variant v;
    v.value_ = NullValue{};
    return v;
  }

  VarType type() const;
  bool isEmpty() const { return type() == VarType::Empty; }

  // The held value when it has type T, else nullptr.
  template <class T>
  const T* getIf() const {
    return std::get_if<T>(&value_);
  }

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  std::variant<EmptyValue, NullValue, std::int16_t, std::int32_t, float, double, DateTime,
               std::string, bool>
      value_;
};

}  // namespace orbelle

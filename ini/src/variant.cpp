#include "ini/variant.hpp"

namespace orbelle {

VarType Variant::type() const {
  struct Code {
    VarType operator()(EmptyValue) const { return VarType::Empty; }
    VarType operator()(NullValue) const { return VarType::Null; }
    VarType operator()(std::int16_t) const { return VarType::Integer; }
    VarType operator()(std::int32_t) const { return VarType::Long; }
    VarType operator()(float) const { return VarType::Single; }
    VarType operator()(double) const { return VarType::Double; }
    VarType operator()(DateTime) const { return VarType::Date; }
    VarType operator()(const std::string&) const { return VarType::String; }
    VarType operator()(bool) const { return VarType::Boolean; }
  };
  return std::visit(Code{}, value_);
}

}  // namespace orbelle

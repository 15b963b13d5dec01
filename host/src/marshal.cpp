#include "marshal.hpp"

#include <algorithm>
#include <cstring>

#include "errors.hpp"

namespace foxhost {

FoxValue toFoxValue(const Value &value, HandleTable &handles) {
  FoxValue v{};
  v.ev_type = value.type;
  switch (value.type) {
    case 'C': {
      const FoxHandle h = handles.allocate(value.text.size());
      if (h == 0) err::fail(err::kNoMemory, err::raisedErrorMessage(err::kNoMemory));
      if (!value.text.empty())
        std::memcpy(handles.pointer(h), value.text.data(), value.text.size());
      v.ev_handle = h;
      v.ev_length = static_cast<uint32_t>(value.text.size());
      break;
    }
    case 'I':
      v.ev_long = value.integer;
      v.ev_width = value.width;
      break;
    case 'N':
      v.ev_real = value.number;
      v.ev_width = value.width;
      v.ev_length = value.decimals;
      break;
    case 'L':
      v.ev_length = value.logical ? 1 : 0;
      break;
    case 'D':
      v.ev_real = value.number;
      break;
    case 'O':
      v.ev_object = value.object;
      break;
    default:
      v.ev_type = 0;
      break;
  }
  return v;
}

Value fromFoxValue(const FoxValue &v, const HandleTable &handles) {
  switch (v.ev_type) {
    case 'C':
    case 'H': {
      if (v.ev_handle == 0) return Value::Text({});
      const auto size = handles.size(v.ev_handle);
      if (!size) {
        err::fail(err::kInvalidHandle, "Invalid handle " + std::to_string(v.ev_handle));
      }
      const size_t n = std::min<size_t>(v.ev_length, *size);
      return Value::Text(std::string(handles.pointer(v.ev_handle), n));
    }
    case 'I':
      return Value::Integer(v.ev_long, v.ev_width);
    case 'N':
      return Value::Number(v.ev_real, v.ev_width, v.ev_length);
    case 'L':
      return Value::Logical(v.ev_length != 0);
    case 'D':
      return Value::Date(v.ev_real);
    case 'O':
      return Value::Object(v.ev_object);
    default:
      err::fail(err::kInvalidService,
                "Invalid value type " + std::to_string(static_cast<int>(v.ev_type)));
  }
}

ParamBlockBuilder::ParamBlockBuilder(HandleTable &handles, const std::vector<Value> &args)
    : handles_(handles) {
  if (args.size() > FOX_MAX_PARAMS) {
    err::fail(err::kTooManyArguments,
              "Too many arguments: at most " + std::to_string(FOX_MAX_PARAMS) + " can be passed");
  }
  try {
    for (const Value &arg : args) {
      FoxValue &slot = block_.p[block_.pCount++];
      slot = toFoxValue(arg, handles_);
      if (slot.ev_type == 'C') owned_.push_back(slot.ev_handle);
    }
  } catch (...) {
    freeHandles();
    throw;
  }
}

ParamBlockBuilder::~ParamBlockBuilder() { freeHandles(); }

void ParamBlockBuilder::freeHandles() {
  // A handle the library freed itself is gone already; numbers are never reused, so releasing
  // by number cannot hit another block.
  for (FoxHandle h : owned_) handles_.release(h);
  owned_.clear();
}

}  // namespace foxhost

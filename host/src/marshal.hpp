// Values between the host's language and the value records of the extension interface.
#pragma once

#include <vector>

#include "foxext.h"
#include "foxhost/host.hpp"
#include "handle_table.hpp"

namespace foxhost {

// A value record for a library. A text is copied into a new handle that the caller owns; throws
// HostError 182 when the handle cannot be allocated.
FoxValue toFoxValue(const Value &value, HandleTable &handles);

// A value record a library passed to the host. C and H texts are copied out of their handle
// (at most ev_length bytes, never past the block); the handle is left alone. Throws HostError
// for an unknown type or a handle the host does not know.
Value fromFoxValue(const FoxValue &record, const HandleTable &handles);

// The parameter block of one call. The host's text handles are freed when the builder dies,
// on every path, whether or not the library resized them.
class ParamBlockBuilder {
 public:
  ParamBlockBuilder(HandleTable &handles, const std::vector<Value> &args);
  ~ParamBlockBuilder();
  ParamBlockBuilder(const ParamBlockBuilder &) = delete;
  ParamBlockBuilder &operator=(const ParamBlockBuilder &) = delete;

  FoxParamBlock &block() { return block_; }

 private:
  void freeHandles();

  HandleTable &handles_;
  FoxParamBlock block_{};
  std::vector<FoxHandle> owned_;
};

}  // namespace foxhost

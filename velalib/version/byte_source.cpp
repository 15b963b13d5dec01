#include "byte_source.hpp"

#include <cstring>

namespace velalib {

bool SpanSource::read(uint64_t offset, void *out, size_t count) const {
  if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
  if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
  return true;
}

}  // namespace velalib

// The host's handles: positive numbers naming movable memory blocks. Resizing an unlocked block
// always moves it, so a library that keeps a pointer across a resize reads freed memory (and a
// sanitizer build says so). A locked block never moves: resizing it only succeeds when the new
// size fits in its current allocation. Handle numbers are never reused while the table lives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include "foxext.h"
#include "foxhost/host.hpp"

namespace foxhost {

class HandleTable {
 public:
  static constexpr size_t kDefaultLimitBytes = size_t{256} << 20;

  explicit HandleTable(size_t limitBytes = kDefaultLimitBytes) : limit_(limitBytes) {}

  FoxHandle allocate(size_t size);  // 0 when the limit would be passed
  bool release(FoxHandle handle);   // false for a handle that is not live
  bool resize(FoxHandle handle, size_t size);
  bool lock(FoxHandle handle);
  bool unlock(FoxHandle handle);  // false when not live or not locked
  char *pointer(FoxHandle handle) const;
  std::optional<size_t> size(FoxHandle handle) const;
  bool contains(FoxHandle handle) const { return blocks_.count(handle) != 0; }

  HandleCounters counters() const;
  // Total bytes of live blocks the table will hold; 0 means the default.
  void setLimit(size_t bytes) { limit_ = bytes ? bytes : kDefaultLimitBytes; }

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    size_t capacity = 0;
    uint32_t locks = 0;
  };
  static std::unique_ptr<char[]> newBlock(size_t capacity);

  std::unordered_map<FoxHandle, Block> blocks_;
  FoxHandle next_ = 1;
  size_t limit_;
  size_t liveBytes_ = 0;
  uint64_t allocated_ = 0;
  uint64_t freed_ = 0;
  size_t locked_ = 0;
};

}  // namespace foxhost

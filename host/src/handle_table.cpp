#include "handle_table.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace foxhost {

std::unique_ptr<char[]> HandleTable::newBlock(size_t capacity) {
  // Every block has at least one byte, so the pointer of an empty block is a real one.
  std::unique_ptr<char[]> p(new (std::nothrow) char[std::max<size_t>(capacity, 1)]);
  if (p) std::memset(p.get(), 0, std::max<size_t>(capacity, 1));
  return p;
}

FoxHandle HandleTable::allocate(size_t size) {
  if (size > limit_ || liveBytes_ > limit_ - size) return 0;
  Block block;
  block.data = newBlock(size);
  if (!block.data) return 0;
  block.size = size;
  block.capacity = size;
  while (next_ == 0 || blocks_.count(next_)) ++next_;
  const FoxHandle handle = next_++;
  blocks_.emplace(handle, std::move(block));
  liveBytes_ += size;
  ++allocated_;
  return handle;
}

bool HandleTable::release(FoxHandle handle) {
  const auto it = blocks_.find(handle);
  if (it == blocks_.end()) return false;
  if (it->second.locks) --locked_;
  liveBytes_ -= it->second.capacity;
  blocks_.erase(it);
  ++freed_;
  return true;
}

bool HandleTable::resize(FoxHandle handle, size_t size) {
  const auto it = blocks_.find(handle);
  if (it == blocks_.end()) return false;
  Block &block = it->second;
  if (block.locks) {
    if (size > block.capacity) return false;
    if (size > block.size) std::memset(block.data.get() + block.size, 0, size - block.size);
    block.size = size;
    return true;
  }
  const size_t others = liveBytes_ - block.capacity;
  if (size > limit_ || others > limit_ - size) return false;
  std::unique_ptr<char[]> moved = newBlock(size);
  if (!moved) return false;
  std::memcpy(moved.get(), block.data.get(), std::min(size, block.size));
  block.data = std::move(moved);
  liveBytes_ = others + size;
  block.size = size;
  block.capacity = size;
  return true;
}

bool HandleTable::lock(FoxHandle handle) {
  const auto it = blocks_.find(handle);
  if (it == blocks_.end()) return false;
  if (it->second.locks++ == 0) ++locked_;
  return true;
}

bool HandleTable::unlock(FoxHandle handle) {
  const auto it = blocks_.find(handle);
  if (it == blocks_.end() || it->second.locks == 0) return false;
  if (--it->second.locks == 0) --locked_;
  return true;
}

char *HandleTable::pointer(FoxHandle handle) const {
  const auto it = blocks_.find(handle);
  return it == blocks_.end() ? nullptr : it->second.data.get();
}

std::optional<size_t> HandleTable::size(FoxHandle handle) const {
  const auto it = blocks_.find(handle);
  if (it == blocks_.end()) return std::nullopt;
  return it->second.size;
}

HandleCounters HandleTable::counters() const {
  HandleCounters c;
  c.allocated = allocated_;
  c.freed = freed_;
  c.live = blocks_.size();
  c.locked = locked_;
  return c;
}

}  // namespace foxhost

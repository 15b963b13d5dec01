// Random access to the bytes of a file or of a buffer, for readers that must check every read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace velalib {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Copies `count` bytes at `offset` into `out`; false, with nothing promised about `out`, when
  // any of them lies outside the source or cannot be read.
  virtual bool read(uint64_t offset, void *out, size_t count) const = 0;
};

// Bytes already in memory (tests, fuzzing).
class SpanSource final : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  bool read(uint64_t offset, void *out, size_t count) const override;

 private:
  std::span<const uint8_t> bytes_;
};

}  // namespace velalib

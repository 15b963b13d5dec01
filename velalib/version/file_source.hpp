// Bytes of a file on disk, read on demand with positioned reads (a large executable is never
// read whole). Only regular files are opened, so a FIFO or a device cannot block or flood a read.
#pragma once

#include <string>

#include "byte_source.hpp"

namespace velalib {

class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::string &path);
  ~FileSource() override;
  FileSource(const FileSource &) = delete;
  FileSource &operator=(const FileSource &) = delete;

  bool isOpen() const { return fd_ >= 0; }
  uint64_t size() const override { return size_; }
  bool read(uint64_t offset, void *out, size_t count) const override;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

}  // namespace velalib

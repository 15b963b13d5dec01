#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reading and crash-safe replacement of small text files.

namespace orbelle {

struct FileText {
  enum class Status {
    Read,    // text holds the whole file
    Absent,  // no such file
    Failed,  // the file exists but cannot be read (not a regular file, too large, I/O error)
  };
  Status status = Status::Absent;
  std::string text;
};

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t kMaxTextFileBytes = 16u << 20;

// Reads a whole regular file. Never blocks on a FIFO or a device.
FileText readTextFile(const std::string& path);

// Replaces the file's contents as one step: the text goes to a temporary file in the same folder,
// which is flushed to the disk and renamed over the old file, so a reader or a crash sees either
// the old contents or the new, never a mixture. A symbolic link is followed and its target
// replaced. The old file's permission bits are kept; a new file gets 0666 less the umask.
// Returns false, leaving the old file untouched and no temporary behind, when any step fails.
// A process killed mid-write leaves its temporary; a later successful write removes those of
// writers that no longer run, once they are ten minutes old.
bool replaceFileAtomically(const std::string& path, std::string_view contents);

}  // namespace orbelle

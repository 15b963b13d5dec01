// Runs a fuzz target's saved inputs once each, without libFuzzer: every file named on the command
// line, and every regular file in a folder named there, in name order. Targets report a finding by
// aborting, so exit status 0 means every input passed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Only some targets define it.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace fs = std::filesystem;

// Exit status 2: the replay itself could not run.
static int refuse(const char* what, const char* name) {
  std::fprintf(stderr, "%s%s\n", what, name);
  return 2;
}

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code error;
    std::vector<fs::path> found;
    if (fs::is_directory(argv[i], error)) {
      for (const auto& entry : fs::directory_iterator(argv[i], error)) {
        if (entry.is_regular_file(error)) found.push_back(entry.path());
      }
    } else if (fs::is_regular_file(argv[i], error)) {
      found.push_back(argv[i]);
    }
    std::sort(found.begin(), found.end());
    inputs.insert(inputs.end(), found.begin(), found.end());
    // A replay of nothing would pass whatever the target does.
    if (error || found.empty()) return refuse("no inputs to replay in ", argv[i]);
  }
  if (inputs.empty()) return refuse("no inputs to replay", "");
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) return refuse("cannot read ", input.c_str());
    std::fprintf(stderr, "%s\n", input.filename().c_str());  // unbuffered: names a crash's input
    // libFuzzer never passes a null pointer, even for an empty input.
    static const std::uint8_t empty = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &empty : bytes.data(), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
}

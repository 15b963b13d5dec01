#pragma once

#include <cstdio>

#include "core/report.hpp"

// The station's report on standard error: one line per message, with the UTC time.

namespace orbelle::station {

class StderrReport final : public Report {
 public:
  explicit StderrReport(bool verbose, std::FILE* out = stderr) : verbose_(verbose), out_(out) {}
  void problem(std::string_view text) override { write(text); }
  void event(std::string_view text) override { write(text); }
  void note(std::string_view text) override {
    if (verbose_) write(text);
  }

 private:
  void write(std::string_view text);
  bool verbose_;
  std::FILE* out_;
};

}  // namespace orbelle::station

#pragma once

#include <string>
#include <vector>

#include "core/report.hpp"

namespace orbelle::station::test {

// Keeps what the station reports, for tests to look at.
class RecordingReport final : public Report {
 public:
  void problem(std::string_view text) override { problems.emplace_back(text); }
  void note(std::string_view text) override { notes.emplace_back(text); }

  // How many problems contain `part`.
  int problemsWith(std::string_view part) const {
    int count = 0;
    for (const std::string& p : problems) count += p.find(part) != std::string::npos ? 1 : 0;
    return count;
  }
  std::string allProblems() const {
    std::string out;
    for (const std::string& p : problems) out += p + "\n";
    return out;
  }

  std::vector<std::string> problems;
  std::vector<std::string> notes;
};

}  // namespace orbelle::station::test

#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/report.hpp"

namespace orbelle::station::test {

// Keeps what the station reports, for tests to look at.
class RecordingReport final : public Report {
 public:
  void problem(std::string_view text) override { problems.emplace_back(text); }
  void event(std::string_view text) override { events.emplace_back(text); }
  void note(std::string_view text) override { notes.emplace_back(text); }

  // How many problems, events or notes contain `part`.
  int problemsWith(std::string_view part) const { return count(problems, part); }
  int eventsWith(std::string_view part) const { return count(events, part); }
  int notesWith(std::string_view part) const { return count(notes, part); }
  // Everything reported, one line each, for failure messages.
  std::string all() const {
    std::string out;
    for (const auto* list : {&problems, &events, &notes}) {
      for (const std::string& line : *list) out += line + "\n";
    }
    return out;
  }

  std::vector<std::string> problems, events, notes;

 private:
  static int count(const std::vector<std::string>& list, std::string_view part) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const std::string& line) {
      return line.find(part) != std::string::npos;
    }));
  }
};

}  // namespace orbelle::station::test

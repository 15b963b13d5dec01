#pragma once

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

  // How many problems contain `part`.
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

  std::vector<std::string> problems;
  std::vector<std::string> events;
  std::vector<std::string> notes;

 private:
  static int count(const std::vector<std::string>& list, std::string_view part) {
    int n = 0;
    for (const std::string& line : list) n += line.find(part) != std::string::npos ? 1 : 0;
    return n;
  }
};

}  // namespace orbelle::station::test

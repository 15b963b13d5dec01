#pragma once

#include <string_view>

// Where the station's parts tell the operator what happens. Problems and events (a connection
// made, the map ready) are always shown; notes (each command, each spot) only when the operator
// asked for them. The program writes all three to standard error; tests collect them.

namespace orbelle::station {

class Report {
 public:
  virtual ~Report() = default;
  virtual void problem(std::string_view text) = 0;
  virtual void event(std::string_view text) = 0;
  virtual void note(std::string_view text) = 0;
};

}  // namespace orbelle::station

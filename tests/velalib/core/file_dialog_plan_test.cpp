// The file dialog's filter lists.
#include "file_dialog_plan.hpp"

#include <gtest/gtest.h>

#include <string>

namespace velalib {
namespace {

std::vector<std::string> describe(const std::vector<FileFilter> &filters) {
  std::vector<std::string> out;
  for (const FileFilter &f : filters) {
    std::string line = f.description + " =";
    for (const std::string &p : f.patterns) line += " " + p;
    out.push_back(line);
  }
  return out;
}

TEST(FileDialogPlan, FilterLists) {
  const std::pair<const char *, std::vector<std::string>> cases[] = {
      {"*.adi", {"*.adi = *.adi"}},
      {"Logs|*.adi;*.adif|Text|*.txt", {"Logs = *.adi *.adif", "Text = *.txt"}},
      {"Logs|*.adi||Text|*.txt", {"Logs = *.adi"}},  // pairs end at an empty description
      {"Logs|*.adi|Odd", {"Logs = *.adi"}},
      {"|*.txt", {}},
      {"Mixed| *.a ; ;*.b |", {"Mixed = *.a *.b"}},
  };
  for (const auto &[filter, described] : cases) {
    EXPECT_EQ(describe(parseFilterList(filter)), described) << filter;
  }
}

}  // namespace
}  // namespace velalib

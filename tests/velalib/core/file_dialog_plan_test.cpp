// The file dialog's plan: filter lists and placement.
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

// Centred over the owner halving toward zero, kept on screen, also at the 32-bit ends.
TEST(FileDialogPlan, PlacementCentresOverTheOwnerAndKeepsOnScreen) {
  const Rect fullHd{0, 0, 1920, 1080};
  const struct {
    Rect owner;
    int32_t width, height;
    Rect screen;
    Point expected;
  } cases[] = {
      {{10, 10, 100, 100}, 400, 300, fullHd, {0, 0}},
      {{50, 50, 101, 101}, 200, 200, fullHd, {1, 1}},
      {{0, 0, 800, 600}, 1000, 700, {0, 0, 800, 600}, {-200, -100}},
      {{2147483600, 2147483600, 2147483647, 2147483647},
       10,
       10,
       {0, 0, 2147483647, 2147483647},
       {2147483637, 2147483637}},
  };
  for (const auto &c : cases) {
    const Point p = centreDialog(c.owner, c.width, c.height, c.screen);
    EXPECT_EQ(std::pair(p.x, p.y), std::pair(c.expected.x, c.expected.y)) << c.owner.left;
  }
}

}  // namespace
}  // namespace velalib

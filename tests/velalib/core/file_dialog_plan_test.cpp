// The file dialog's plan: defaults, flags, filter lists, argument limits and placement.
#include "file_dialog_plan.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

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

// The flag word: base, options' flags (hiding options none), extra flags ORed in.
TEST(FileDialogPlan, DefaultsAndFlags) {
  FileSelArguments empty;
  empty.filter = "";  // an empty filter means everything too
  const FileDialogPlan plan = planFileDialog(empty);
  EXPECT_EQ(describe(plan.filters), std::vector<std::string>{"*.* = *"});
  EXPECT_FALSE(plan.owner);
  const std::tuple<int32_t, int32_t, uint32_t> cases[] = {
      {0, 0, 0x8086C}, {7, 0, 0x8386E}, {0x380, 0, 0x8086C}, {0, 0x10000000, 0x1008086C}};
  for (const auto &[options, extra, flags] : cases) {
    FileSelArguments args;
    args.options = options;
    args.extraFlags = extra;
    EXPECT_EQ(planFileDialog(args).flags, flags) << options << " " << extra;
  }
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

// Cuts the host-level table cannot see: folder, caption at its NUL, a "|" filter at 255.
TEST(FileDialogPlan, LongTextsAreCutToTheirBuffersAndEndAtTheirFirstNul) {
  FileSelArguments args;
  args.folder = std::string(400, 'f');
  args.okCaption = std::string("Use\0it", 6);
  args.filter = "A|" + std::string(300, 'q');
  const FileDialogPlan plan = planFileDialog(args);
  EXPECT_EQ(plan.folder.size(), kFolderLimit);
  EXPECT_EQ(plan.okCaption, "Use");
  EXPECT_EQ(plan.filters.at(0).patterns.at(0).size(), kFilterLimit - 2);
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
      {{0, 0, 801, 601}, 400, 300, fullHd, {200, 150}},
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

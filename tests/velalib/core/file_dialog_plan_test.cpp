// The file dialog's plan: defaults, flags, filter lists, argument limits and placement.
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

TEST(FileDialogPlan, DefaultsAndFlags) {
  FileSelArguments empty;
  empty.filter = "";  // an empty filter means everything too
  const FileDialogPlan plan = planFileDialog(empty);
  EXPECT_EQ(describe(plan.filters), std::vector<std::string>{"*.* = *"});
  EXPECT_TRUE(plan.pathMustExist());
  EXPECT_FALSE(plan.owner);
  const struct {
    int32_t options, extra;
    uint32_t flags;
    bool save;
  } cases[] = {
      {0, 0, 0x8086C, false},
      {2, 0, 0x8286C, false},
      {7, 0, 0x8386E, true},
      {0, 2, 0x8086E, true},
      {0x380, 0, 0x8086C, false},  // the hiding options are not flags
      {0, 0x10000000, 0x1008086C, false},
  };
  for (const auto &c : cases) {
    FileSelArguments args;
    args.options = c.options;
    args.extraFlags = c.extra;
    EXPECT_EQ(planFileDialog(args).flags, c.flags) << c.options << " " << c.extra;
    EXPECT_EQ(planFileDialog(args).saveDialog(), c.save) << c.options << " " << c.extra;
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

TEST(FileDialogPlan, LongTextsAreCutToTheirBuffersAndEndAtTheirFirstNul) {
  FileSelArguments args;
  args.title = std::string(200, 't');
  args.folder = std::string(400, 'f');
  args.fileName = std::string(400, 'n');
  args.okCaption = std::string("Use\0it", 6);
  args.filter = std::string(300, 'p');  // no "|": cut to 126, then doubled
  FileDialogPlan plan = planFileDialog(args);
  EXPECT_EQ(plan.title.size(), kTitleLimit);
  EXPECT_EQ(plan.folder.size(), kFolderLimit);
  EXPECT_EQ(plan.fileName.size(), kFileNameLimit);
  EXPECT_EQ(plan.okCaption, "Use");
  EXPECT_EQ(describe(plan.filters), std::vector<std::string>{std::string(kSingleFilterLimit, 'p') +
                                                             " = " + std::string(126, 'p')});
  args.filter = "A|" + std::string(300, 'q');  // with "|": cut to 255
  args.okCaption = std::string(50, 'o');
  plan = planFileDialog(args);
  EXPECT_EQ(plan.filters.at(0).patterns.at(0).size(), kFilterLimit - 2);
  EXPECT_EQ(plan.okCaption.size(), kOkCaptionLimit);
}

// Centred over the owner, halving toward zero, then kept on the screen.
TEST(FileDialogPlan, PlacementCentresOverTheOwnerAndKeepsOnScreen) {
  const struct {
    Rect owner;
    int32_t width, height;
    Rect screen;
    Point expected;
  } cases[] = {
      {{100, 100, 800, 600}, 400, 300, {0, 0, 1920, 1080}, {300, 250}},
      {{0, 0, 801, 601}, 400, 300, {0, 0, 1920, 1080}, {200, 150}},
      {{10, 10, 100, 100}, 400, 300, {0, 0, 1920, 1080}, {0, 0}},
      {{50, 50, 101, 101}, 200, 200, {0, 0, 1920, 1080}, {1, 1}},
      {{1700, 900, 400, 300}, 600, 400, {0, 0, 1920, 1080}, {1320, 680}},
      {{0, 0, 800, 600}, 1000, 700, {0, 0, 800, 600}, {-200, -100}},
      {{2147483600, 2147483600, 2147483647, 2147483647},
       10,
       10,
       {0, 0, 2147483647, 2147483647},
       {2147483637, 2147483637}},
  };
  for (const auto &c : cases) {
    const Point p = centreDialog(c.owner, c.width, c.height, c.screen);
    EXPECT_EQ(p.x, c.expected.x) << c.owner.left;
    EXPECT_EQ(p.y, c.expected.y) << c.owner.top;
  }
}

}  // namespace
}  // namespace velalib

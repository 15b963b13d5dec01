// The file dialog's plan: defaults, filter lists, flags, argument limits and placement.
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

TEST(FileDialogPlan, DefaultsWithoutArguments) {
  const FileDialogPlan plan = planFileDialog({});
  EXPECT_EQ(plan.title, "");
  EXPECT_EQ(describe(plan.filters), std::vector<std::string>{"*.* = *"});
  EXPECT_EQ(plan.folder, "");
  EXPECT_EQ(plan.fileName, "");
  EXPECT_EQ(plan.flags, 0x8086Cu);
  EXPECT_FALSE(plan.saveDialog());
  EXPECT_FALSE(plan.fileMustExist());
  EXPECT_TRUE(plan.pathMustExist());
  EXPECT_EQ(plan.defaultExtension, "");
  EXPECT_EQ(plan.okCaption, "");
  EXPECT_FALSE(plan.owner);
  FileSelArguments args;
  args.filter = "";  // an empty filter means everything too
  EXPECT_EQ(describe(planFileDialog(args).filters), std::vector<std::string>{"*.* = *"});
}

struct FlagCase {
  int32_t options;
  int32_t extra;
  uint32_t flags;
  bool save;
};

class FileDialogFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FileDialogFlags, CombineOptionsAndExtraFlags) {
  const FlagCase &c = GetParam();
  FileSelArguments args;
  args.options = c.options;
  args.extraFlags = c.extra;
  const FileDialogPlan plan = planFileDialog(args);
  EXPECT_EQ(plan.flags, c.flags);
  EXPECT_EQ(plan.saveDialog(), c.save);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileDialogFlags,
    ::testing::Values(FlagCase{0, 0, 0x8086C, false}, FlagCase{1, 0, 0x8186C, false},
                      FlagCase{2, 0, 0x8286C, false}, FlagCase{4, 0, 0x8086E, true},
                      FlagCase{0, 2, 0x8086E, true}, FlagCase{7, 0, 0x8386E, true},
                      FlagCase{0x380, 0, 0x8086C, false},
                      FlagCase{0, 0x10000000, 0x1008086C, false}));

TEST(FileDialogPlan, OptionFlagsSelectBehaviour) {
  FileSelArguments args;
  args.options = dialog_option::kFileMustExist | dialog_option::kDefaultExtension |
                 dialog_option::kHideFileName | dialog_option::kHideFolder;
  const FileDialogPlan plan = planFileDialog(args);
  EXPECT_TRUE(plan.fileMustExist());
  EXPECT_EQ(plan.defaultExtension, "x");
  EXPECT_TRUE(plan.hideFileName());
  EXPECT_FALSE(plan.hideFileType());
  EXPECT_TRUE(plan.hideFolder());
}

TEST(FilterList, SingleFilterIsDescriptionAndPattern) {
  EXPECT_EQ(describe(parseFilterList("*.adi")), std::vector<std::string>{"*.adi = *.adi"});
}

TEST(FilterList, PairsEndAtAnEmptyDescription) {
  EXPECT_EQ(describe(parseFilterList("Logs|*.adi;*.adif|Text|*.txt")),
            (std::vector<std::string>{"Logs = *.adi *.adif", "Text = *.txt"}));
  EXPECT_EQ(describe(parseFilterList("Logs|*.adi||Text|*.txt")),
            (std::vector<std::string>{"Logs = *.adi"}));
  EXPECT_EQ(describe(parseFilterList("Logs|*.adi|Odd")),
            (std::vector<std::string>{"Logs = *.adi"}));
  EXPECT_TRUE(parseFilterList("|*.txt").empty());
  EXPECT_EQ(describe(parseFilterList("All|*.*")), (std::vector<std::string>{"All = *"}));
  EXPECT_EQ(describe(parseFilterList("Mixed| *.a ; ;*.b |")),
            (std::vector<std::string>{"Mixed = *.a *.b"}));
}

TEST(FileDialogPlan, LongArgumentsAreCutToTheirBuffers) {
  FileSelArguments args;
  args.title = std::string(200, 't');
  args.folder = std::string(400, 'f');
  args.fileName = std::string(400, 'n');
  args.okCaption = std::string(50, 'o');
  FileDialogPlan plan = planFileDialog(args);
  EXPECT_EQ(plan.title.size(), kTitleLimit);
  EXPECT_EQ(plan.folder.size(), kFolderLimit);
  EXPECT_EQ(plan.fileName.size(), kFileNameLimit);
  EXPECT_EQ(plan.okCaption.size(), kOkCaptionLimit);

  args.filter = std::string(300, 'p');  // no "|": cut to 126, then doubled
  plan = planFileDialog(args);
  ASSERT_EQ(plan.filters.size(), 1u);
  EXPECT_EQ(plan.filters[0].description, std::string(kSingleFilterLimit, 'p'));
  EXPECT_EQ(plan.filters[0].patterns, std::vector<std::string>{std::string(126, 'p')});

  args.filter = "A|" + std::string(300, 'q');  // with "|": cut to 255
  plan = planFileDialog(args);
  ASSERT_EQ(plan.filters.size(), 1u);
  EXPECT_EQ(plan.filters[0].patterns[0].size(), kFilterLimit - 2);
}

TEST(FileDialogPlan, TextsEndAtTheirFirstNul) {
  FileSelArguments args;
  args.title = std::string("Open\0junk", 9);
  args.okCaption = std::string("Use\0it", 6);
  const FileDialogPlan plan = planFileDialog(args);
  EXPECT_EQ(plan.title, "Open");
  EXPECT_EQ(plan.okCaption, "Use");
}

TEST(DialogPlacement, CentresOverTheOwnerAndKeepsOnScreen) {
  const struct {
    const char *name;
    Rect owner;
    int32_t width, height;
    Rect screen;
    Point expected;
  } cases[] = {
      {"CentredOverOwner", {100, 100, 800, 600}, 400, 300, {0, 0, 1920, 1080}, {300, 250}},
      {"OddDifferenceTruncates", {0, 0, 801, 601}, 400, 300, {0, 0, 1920, 1080}, {200, 150}},
      {"OwnerSmallerThanDialog", {10, 10, 100, 100}, 400, 300, {0, 0, 1920, 1080}, {0, 0}},
      {"NegativeTruncatesTowardZero", {50, 50, 101, 101}, 200, 200, {0, 0, 1920, 1080}, {1, 1}},
      {"PastRightAndBottom", {1700, 900, 400, 300}, 600, 400, {0, 0, 1920, 1080}, {1320, 680}},
      {"WiderThanScreen", {0, 0, 800, 600}, 1000, 700, {0, 0, 800, 600}, {-200, -100}},
      {"OverScreen", {0, 0, 1024, 768}, 400, 300, {0, 0, 1024, 768}, {312, 234}},
      {"OwnerOffScreenLeft", {-500, 100, 300, 300}, 200, 100, {0, 0, 1024, 768}, {0, 200}},
      {"ExtremeRectangles",
       {2147483600, 2147483600, 2147483647, 2147483647},
       10,
       10,
       {0, 0, 2147483647, 2147483647},
       {2147483637, 2147483637}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const Point p = centreDialog(c.owner, c.width, c.height, c.screen);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
  }
}

}  // namespace
}  // namespace velalib

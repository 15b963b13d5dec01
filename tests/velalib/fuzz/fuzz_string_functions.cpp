// Fuzz target for the string functions and the dialog's plan: each result keeps its promises.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "conversions.hpp"
#include "file_dialog_plan.hpp"
#include "item_list.hpp"
#include "number_text.hpp"
#include "tagged_string.hpp"
#include "wildcard.hpp"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

bool contains(std::string_view whole, std::string_view part) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 4) return 0;
  int32_t number = 0;
  std::memcpy(&number, data, 4);
  const std::string_view input(reinterpret_cast<const char *>(data) + 4, size - 4);
  // The rest splits at its first NUL into a first and a second text.
  const size_t split = input.find('\0');
  const std::string_view first = input.substr(0, split);
  const std::string_view second =
      split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

  // Tagged strings.
  const std::string_view value = velalib::tagValue(first, second);
  const std::string_view field = velalib::tagField(first, second);
  require(contains(second, value) && contains(second, field));
  require(value.find('|') == std::string_view::npos);
  if (!field.empty()) {
    require(field.substr(0, first.size()) == first && field.back() == '|');
    require(field.substr(first.size(), value.size()) == value);
  }
  const std::string item = velalib::makeTag(first, second);
  if (!item.empty()) {
    require(item.back() == '|' && item.compare(0, first.size(), first) == 0);
    // A made item reads back when nothing in the tag spoils the lookup.
    if (first.find('|') == std::string_view::npos && first.find(' ') == std::string_view::npos &&
        item.find('|') == item.size() - 1) {
      require(velalib::tagValue(first, item) == velalib::trimBlanksAndControls(second));
    }
  }

  // Item lists: the item is part of the list and holds no delimiter.
  const std::string_view got = velalib::getItem(first.substr(0, 1), second, number % 1000);
  require(contains(second, got));
  if (!first.empty()) require(got.find(first.front()) == std::string_view::npos);

  // Wildcards: a star matches everything; a text without special bytes matches itself.
  require(velalib::wildCard("*", second));
  (void)velalib::wildCard(first, second);
  if (first.find_first_of("*?[") == std::string_view::npos) {
    require(velalib::wildCard(first, first));
  }

  // Numbers and conversions.
  (void)velalib::parseWholeNumber(first);
  const double decimal = velalib::parseDecimalNumber(first);
  require(!std::isnan(decimal));
  const double angle = velalib::adjust360(decimal);
  if (std::isfinite(decimal)) require(angle >= 0 && angle <= 360);
  if (const auto date = velalib::readDateDigits(first)) {
    require(velalib::mdyText(*date).size() == 10);
    (void)velalib::julianDayNumber(*date);
  }
  require(velalib::packedToDecimal(velalib::decimalToPacked(number % 100)) == number % 100);
  (void)velalib::isBytePosition(number, first.size());

  // The dialog's plan and placement.
  velalib::FileSelArguments arguments;
  arguments.title = std::string(first);
  arguments.filter = std::string(second);
  arguments.folder = std::string(second);
  arguments.options = number;
  arguments.extraFlags = number >> 3;
  const velalib::FileDialogPlan plan = velalib::planFileDialog(arguments);
  require(plan.title.size() <= velalib::kTitleLimit);
  require(plan.folder.size() <= velalib::kFolderLimit);
  for (const velalib::FileFilter &filter : plan.filters) {
    require(!filter.description.empty() && !filter.patterns.empty());
  }
  const velalib::Rect owner{number, number / 3, number / 5, number / 7};
  const velalib::Rect screen{0, 0, 1920, 1080};
  (void)velalib::centreDialog(owner, number / 11, number / 13, screen);
  return 0;
}

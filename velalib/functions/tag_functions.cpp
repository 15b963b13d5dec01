// MAKE_TAG, TAG_VAL, TAG_FLD, GET_ITEM, wild_card and val_.
#include <string>

#include "conversions.hpp"
#include "foxlib.hpp"
#include "functions.hpp"
#include "host_access.hpp"
#include "item_list.hpp"
#include "number_text.hpp"
#include "tagged_string.hpp"
#include "texts.hpp"
#include "wildcard.hpp"

namespace velalib::entry {

namespace {

// A date value "yyyymmdd" returned as a host date. The text "mm/dd/yyyy" is read by the host
// under "MDY"; the host's own date setting is saved first and put back on every path.
void returnTagDate(std::string_view value) {
  const auto digits = readDateDigits(value);
  if (!digits) {
    fox::returnDate(0);  // the empty date
    return;
  }
  const std::string text = mdyText(*digits);
  const fox::HostValue saved = fox::evaluate(kSaveDateSetting);
  if (saved.type != 'C') {
    fox::raiseUserError("TAG_VAL() could not read the host's date setting");
  }
  fox::execute(kDateSettingMdy);
  try {
    fox::returnDateText(text);
  } catch (...) {
    try {
      fox::execute(saved.text);
    } catch (...) {
      // The first failure is the one reported.
    }
    throw;
  }
  fox::execute(saved.text);
}

}  // namespace

void MAKE_TAG(FoxParamBlock *block) {
  const fox::Params params(block);
  const std::string tag = params.text(0);
  const std::string value = params.text(1);
  if (value.empty()) {
    fox::returnText({});
    return;
  }
  returnTextThroughWorkHandle(makeTag(tag, value), uint64_t{tag.size()} + value.size() + 2);
}

void TAG_VAL(FoxParamBlock *block) {
  const fox::Params params(block);
  growArgument(params, 0, 1);
  growArgument(params, 1, 1);
  char type = 'C';
  if (params.has(2)) {
    const std::string letter = params.text(2);
    type = letter.empty() ? '\0' : letter.front();
  }
  const std::string tag = params.text(0);
  const std::string tagged = params.text(1);
  const std::string_view value = tagValue(tag, tagged);
  switch (type) {
    case 'C':
      fox::returnText(value);
      break;
    case 'I':
      fox::returnInteger(parseWholeNumber(value), kWidthTagInteger);
      break;
    case 'F':
      fox::returnNumber(parseDecimalNumber(value), kWidthTagNumber, kDecimalsTagNumber);
      break;
    case 'L':
      fox::returnLogical(!value.empty() && (value.front() == 'Y' || value.front() == 'T'));
      break;
    case 'D':
      returnTagDate(value);
      break;
    default:
      fox::raiseUserError(kInvalidTagType);
  }
}

void TAG_FLD(FoxParamBlock *block) {
  const fox::Params params(block);
  growArgument(params, 0, 1, kTagFldGrowFailed);
  growArgument(params, 1, 1, kTagFldGrowFailed);
  fox::returnText(tagField(params.text(0), params.text(1)));
}

void GET_ITEM(FoxParamBlock *block) {
  const fox::Params params(block);
  growArgument(params, 1, 1, kGetItemGrowFailed);
  fox::returnText(getItem(params.text(0), params.text(1), params.integer(2)));
}

void wild_card(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnLogical(wildCard(params.text(0), params.text(1)));
}

void val_(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnNumber(parseDecimalNumber(params.text(0)), kWidthVal, kDecimalsVal);
}

}  // namespace velalib::entry

#include "core/split.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "core/text.hpp"

namespace orbelle::station {
namespace {

// The leading number of `word` ("5", "1.5", "5-10" → 5, "5K", "5KHZ"), or false when the word
// does not start with one or has other letters after it.
bool leadingFigure(std::string_view word, double& value) {
  std::size_t end = 0;
  while (end < word.size() && (isAsciiDigit(word[end]) || word[end] == '.')) ++end;
  if (end == 0) return false;
  std::string_view rest = word.substr(end);
  const std::string unit = upperAscii(rest);
  const bool rangeFollows = !rest.empty() && rest[0] == '-';
  if (!rest.empty() && !rangeFollows && unit != "K" && unit != "KHZ") return false;
  return parseDecimal(word.substr(0, end), value);
}

// Splits "UP5" into ("UP", "5"); words without a figure come back whole.
struct Keyword {
  std::string key;
  std::string_view attached;
};
Keyword splitKeyword(std::string_view word) {
  std::size_t i = 0;
  while (i < word.size() && isAsciiAlpha(word[i])) ++i;
  return {upperAscii(word.substr(0, i)), word.substr(i)};
}

std::optional<double> offsetResult(double spotKHz, double offset) {
  if (!(offset > 0.0) || offset > kMaxSplitKHz) return std::nullopt;
  return spotKHz + offset;
}

std::optional<double> qsxResult(double spotKHz, double figure) {
  if (std::fabs(figure - spotKHz) <= kMaxSplitKHz) return figure;
  const double fromMHz = figure * 1000.0;
  if (std::fabs(fromMHz - spotKHz) <= kMaxSplitKHz) return fromMHz;
  return std::nullopt;
}

}  // namespace

std::optional<double> splitTransmitKHz(double spotKHz, std::string_view comment) {
  if (!std::isfinite(spotKHz)) return std::nullopt;
  const std::vector<std::string_view> list = words(comment);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const Keyword kw = splitKeyword(list[i]);
    const bool up = kw.key == "UP";
    const bool down = kw.key == "DOWN" || kw.key == "DN";
    const bool qsx = kw.key == "QSX";
    if (!up && !down && !qsx) continue;
    std::string_view figureText = kw.attached;
    if (figureText.empty() && i + 1 < list.size()) figureText = list[i + 1];
    double figure = 0.0;
    if (!leadingFigure(figureText, figure)) continue;
    std::optional<double> tx;
    if (qsx) {
      tx = qsxResult(spotKHz, figure);
    } else {
      tx = offsetResult(spotKHz, figure);
      if (tx && down) tx = spotKHz - figure;
    }
    if (tx && *tx != spotKHz) return tx;
  }
  return std::nullopt;
}

}  // namespace orbelle::station

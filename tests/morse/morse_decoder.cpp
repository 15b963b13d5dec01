#include "morse_decoder.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

#include "core/code_table.hpp"

namespace morse::test {

std::optional<Wav> readWavFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> b{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
  const auto le = [&b](size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
  };
  const auto tag = [&b](size_t at) {
    return std::string(reinterpret_cast<const char *>(b.data()) + at, 4);
  };
  if (b.size() < 44 || tag(0) != "RIFF" || tag(8) != "WAVE" || tag(12) != "fmt " ||
      tag(36) != "data" || le(16, 4) != 16 || le(20, 2) != 1 || le(22, 2) != 1 || le(34, 2) != 16 ||
      le(40, 4) != b.size() - 44) {
    return std::nullopt;
  }
  Wav wav{le(24, 4), {}};
  for (size_t i = 44; i + 1 < b.size(); i += 2) {
    wav.samples.push_back(static_cast<int16_t>(le(i, 2)));
  }
  return wav;
}

std::vector<Stretch> detectTones(const Wav &wav) {
  const size_t n = wav.samples.size();
  const size_t half = std::max<size_t>(1, wav.sampleRate * 3 / 2000);
  std::vector<double> prefix(n + 1, 0.0);
  for (size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + std::abs(wav.samples[i]);
  std::vector<double> envelope(n);
  for (size_t i = 0; i < n; ++i) {
    const size_t lo = i >= half ? i - half : 0;
    const size_t hi = std::min(n, i + half + 1);
    envelope[i] = (prefix[hi] - prefix[lo]) / static_cast<double>(hi - lo);
  }
  const double threshold = n ? *std::max_element(envelope.begin(), envelope.end()) / 2 : 0;
  std::vector<Stretch> runs;
  for (size_t start = 0, i = 1; i <= n; ++i) {
    const bool on = envelope[start] > threshold;
    if (i < n && (envelope[i] > threshold) == on) continue;
    const double ms = 1000.0 * static_cast<double>(i - start) / wav.sampleRate;
    // A run under 3 ms is ripple on the edge: it joins the run before.
    if (!runs.empty() && (ms < 3.0 || runs.back().on == on)) {
      runs.back().ms += ms;
    } else {
      runs.push_back({on, ms});
    }
    start = i;
  }
  while (!runs.empty() && !runs.front().on) runs.erase(runs.begin());
  while (!runs.empty() && !runs.back().on) runs.pop_back();
  return runs;
}

std::string decodeWav(const Wav &wav) {
  const std::vector<Stretch> runs = detectTones(wav);
  double unit = 1e300;
  for (const Stretch &r : runs) unit = std::min(unit, r.ms);
  double characterGap = 1e300;
  for (const Stretch &r : runs) {
    if (!r.on && r.ms > 1.5 * unit) characterGap = std::min(characterGap, r.ms);
  }
  std::map<std::string, char> byCode;  // the first character of a code wins
  for (char c = kLastCoded; c > kFirstCoded; --c) {
    const auto code = codeFor(c);
    if (c != kJoinMark && code && !code->empty()) byCode[std::string(*code)] = c;
  }
  std::string text, symbols;
  const auto endCharacter = [&] {
    if (symbols.empty()) return;
    const auto it = byCode.find(symbols);
    text += it == byCode.end() ? '#' : it->second;
    symbols.clear();
  };
  for (const Stretch &r : runs) {
    if (r.on) {
      symbols += r.ms < 2 * unit ? '.' : '_';
    } else if (r.ms > 1.5 * unit) {
      endCharacter();
      if (r.ms > 1.25 * characterGap) text += ' ';
    }
  }
  endCharacter();
  return text;
}

}  // namespace morse::test

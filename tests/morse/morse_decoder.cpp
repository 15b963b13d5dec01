#include "morse_decoder.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

#include "core/code_table.hpp"

namespace morse::test {
namespace {

uint32_t le(const std::vector<uint8_t> &b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}

constexpr double kEnvelopeWindowMs = 3.0;
constexpr double kGlitchMs = 3.0;  // shorter runs are ripple, merged into their neighbours

}  // namespace

std::optional<Wav> parseWav(const std::vector<uint8_t> &b) {
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    return std::nullopt;
  }
  Wav wav;
  bool haveFormat = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
    const uint32_t size = le(b, at + 4, 4);
    const size_t body = at + 8;
    if (size > b.size() - body) return std::nullopt;
    if (id == "fmt ") {
      if (size < 16 || le(b, body, 2) != 1 || le(b, body + 2, 2) != 1 ||
          le(b, body + 14, 2) != 16) {
        return std::nullopt;
      }
      wav.sampleRate = le(b, body + 4, 4);
      haveFormat = true;
    } else if (id == "data") {
      if (!haveFormat || wav.sampleRate == 0) return std::nullopt;
      for (size_t i = 0; i + 1 < size; i += 2) {
        wav.samples.push_back(static_cast<int16_t>(le(b, body + i, 2)));
      }
      return wav;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

std::optional<Wav> readWavFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  return parseWav(bytes);
}

double trailingSilenceMs(const Wav &wav) {
  size_t last = wav.samples.size();
  while (last > 0 && wav.samples[last - 1] == 0) --last;
  return 1000.0 * static_cast<double>(wav.samples.size() - last) / wav.sampleRate;
}

std::vector<ToneRun> detectTones(const Wav &wav) {
  std::vector<ToneRun> runs;
  const size_t n = wav.samples.size();
  if (n == 0) return runs;
  const size_t half =
      std::max<size_t>(1, static_cast<size_t>(kEnvelopeWindowMs * wav.sampleRate / 2000.0));
  // Centred moving average of the rectified signal.
  std::vector<double> prefix(n + 1, 0.0);
  for (size_t i = 0; i < n; ++i)
    prefix[i + 1] = prefix[i] + std::abs(static_cast<double>(wav.samples[i]));
  std::vector<double> env(n);
  double peak = 0;
  for (size_t i = 0; i < n; ++i) {
    const size_t lo = i >= half ? i - half : 0;
    const size_t hi = std::min(n, i + half + 1);
    env[i] = (prefix[hi] - prefix[lo]) / static_cast<double>(hi - lo);
    peak = std::max(peak, env[i]);
  }
  if (peak <= 0) return runs;
  const double threshold = peak / 2;
  const double msPerSample = 1000.0 / wav.sampleRate;
  bool state = env[0] > threshold;
  size_t start = 0;
  for (size_t i = 1; i <= n; ++i) {
    const bool now = i < n && env[i] > threshold;
    if (i < n && now == state) continue;
    const double ms = static_cast<double>(i - start) * msPerSample;
    if (!runs.empty() && ms < kGlitchMs) {
      runs.back().ms += ms;  // ripple: belongs to the run before
    } else if (!runs.empty() && runs.back().tone == state) {
      runs.back().ms += ms;
    } else {
      runs.push_back({state, ms});
    }
    state = now;
    start = i;
  }
  // Leading and trailing silence carry no symbols.
  while (!runs.empty() && !runs.front().tone) runs.erase(runs.begin());
  while (!runs.empty() && !runs.back().tone) runs.pop_back();
  return runs;
}

std::string decodeRuns(const std::vector<ToneRun> &runs) {
  if (runs.empty()) return {};
  double unit = 1e300;
  for (const ToneRun &r : runs) unit = std::min(unit, r.ms);

  // Silences cluster: values within 25 % of the cluster's first member belong to it.
  std::vector<double> gaps;
  for (const ToneRun &r : runs) {
    if (!r.tone) gaps.push_back(r.ms);
  }
  std::sort(gaps.begin(), gaps.end());
  std::vector<double> clusterTops;  // the largest value of each cluster, ascending
  double first = -1;
  for (double g : gaps) {
    if (first < 0 || g > first * 1.25) {
      clusterTops.push_back(g);
      first = g;
    } else {
      clusterTops.back() = g;
    }
  }
  // The first cluster is the element gap when it is about one unit long; the next is the
  // character gap; anything longer separates words.
  size_t elementClusters = !clusterTops.empty() && clusterTops[0] < unit * 1.5 ? 1 : 0;
  const double elementTop = elementClusters ? clusterTops[0] : 0;
  const double characterTop =
      clusterTops.size() > elementClusters ? clusterTops[elementClusters] : elementTop;

  std::map<std::string, char> byCode;
  for (char c = '!'; c <= '\\'; ++c) {
    const auto code = codeFor(c);
    if (code && !code->empty() && c != kJoinMark && !byCode.count(std::string(*code))) {
      byCode[std::string(*code)] = c;
    }
  }
  std::string text;
  std::string symbols;
  const auto endCharacter = [&] {
    if (symbols.empty()) return;
    const auto it = byCode.find(symbols);
    text += it == byCode.end() ? '#' : it->second;
    symbols.clear();
  };
  for (const ToneRun &r : runs) {
    if (r.tone) {
      symbols += r.ms < unit * 2 ? '.' : '_';
    } else if (r.ms > characterTop) {
      endCharacter();
      text += ' ';
    } else if (r.ms > elementTop) {
      endCharacter();
    }
  }
  endCharacter();
  return text;
}

std::string decodeWav(const Wav &wav) { return decodeRuns(detectTones(wav)); }

}  // namespace morse::test

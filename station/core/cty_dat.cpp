#include "core/cty_dat.hpp"

#include <algorithm>

#include "core/call_sign.hpp"
#include "core/text.hpp"

namespace orbelle::station {

namespace {

constexpr int kMaxCqZone = 40;
constexpr int kMaxItuZone = 90;
constexpr std::size_t kHeaderFields = 8;

bool readLatitude(std::string_view text, double& value) {
  return parseDecimal(trimBlanks(text), value) && value >= -90.0 && value <= 90.0;
}

// cty.dat counts longitudes west positive; the map counts them east positive.
bool readWestLongitude(std::string_view text, double& eastValue) {
  double west = 0.0;
  if (!parseDecimal(trimBlanks(text), west) || west < -180.0 || west > 180.0) return false;
  eastValue = west == 0.0 ? 0.0 : -west;
  return true;
}

bool readZone(std::string_view text, int max, int& zone) {
  long long value = 0;
  if (!parseInteger(trimBlanks(text), 1, max, value)) return false;
  zone = static_cast<int>(value);
  return true;
}

bool isContinent(std::string_view text) {
  static constexpr std::string_view kContinents[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
  return std::find(std::begin(kContinents), std::end(kContinents), text) != std::end(kContinents);
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

class CtyDatReader {
 public:
  explicit CtyDatReader(CtyDat::ParseResult& out) : out_(out) {}

  void read(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    std::size_t i = 0;
    while (i < lines.size()) {
      const std::string_view line = lines[i];
      if (trimBlanks(line).empty()) {
        ++i;
        continue;
      }
      const std::size_t headerLine = i + 1;
      if (isBlank(line.front())) {
        // Aliases without a header: skip up to the end of their list.
        problem(headerLine, "aliases without an entity line");
        ++out_.skippedRecords;
        while (i < lines.size() && (lines[i].empty() || isBlank(lines[i].front()))) {
          const bool ends = lines[i].find(';') != std::string_view::npos;
          ++i;
          if (ends) break;
        }
        continue;
      }
      // The alias list: the indented lines after the header, up to the one holding ";".
      std::string aliases;
      std::size_t j = i + 1;
      bool ended = false;
      while (j < lines.size() && !lines[j].empty() && isBlank(lines[j].front())) {
        const std::string_view part = lines[j++];
        const std::size_t semicolon = part.find(';');
        aliases.append(part.substr(0, semicolon));
        if (semicolon != std::string_view::npos) {
          ended = true;
          break;
        }
      }
      if (!ended) problem(headerLine, "alias list not ended by \";\"");
      addRecord(headerLine, line, aliases);
      i = j;
    }
  }

 private:
  void problem(std::size_t line, std::string_view what) {
    if (out_.firstProblem.empty()) {
      out_.firstProblem = "line " + std::to_string(line) + ": " + std::string(what);
    }
  }

  void addRecord(std::size_t lineNumber, std::string_view header, std::string_view aliases) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t colon; (colon = header.find(':', start)) != std::string_view::npos;) {
      fields.push_back(header.substr(start, colon - start));
      start = colon + 1;
    }
    auto entity = std::make_unique<CtyEntity>();
    if (fields.size() != kHeaderFields || !trimBlanks(header.substr(start)).empty()) {
      return skipRecord(lineNumber, "entity line does not have 8 fields ended by \":\"");
    }
    entity->name = std::string(trimBlanks(fields[0]));
    entity->continent = std::string(trimBlanks(fields[3]));
    std::string_view primary = trimBlanks(fields[7]);
    if (!primary.empty() && primary.front() == '*') primary.remove_prefix(1);
    entity->primaryPrefix = std::string(primary);
    if (entity->name.empty() || !readZone(fields[1], kMaxCqZone, entity->cqZone) ||
        !readZone(fields[2], kMaxItuZone, entity->ituZone) || !isContinent(entity->continent) ||
        !readLatitude(fields[4], entity->latitude) ||
        !readWestLongitude(fields[5], entity->longitude) ||
        !parseDecimal(trimBlanks(fields[6]), entity->utcOffset) || primary.empty()) {
      return skipRecord(lineNumber, "unreadable entity line");
    }
    const std::size_t index = table().entities_.size();
    table().entities_.push_back(std::move(entity));
    std::size_t begin = 0;
    while (begin <= aliases.size()) {
      std::size_t comma = aliases.find(',', begin);
      if (comma == std::string_view::npos) comma = aliases.size();
      const std::string_view alias = trimBlanks(aliases.substr(begin, comma - begin));
      if (!alias.empty() && !addAlias(index, alias)) {
        ++out_.skippedAliases;
        problem(lineNumber, "unreadable alias \"" + std::string(alias) + "\"");
      }
      begin = comma + 1;
    }
  }

  void skipRecord(std::size_t lineNumber, std::string_view why) {
    ++out_.skippedRecords;
    problem(lineNumber, why);
  }

  bool addAlias(std::size_t entity, std::string_view text) {
    CtyDat::Alias alias;
    alias.entity = entity;
    const bool exact = text.front() == '=';
    if (exact) text.remove_prefix(1);
    std::size_t end = 0;
    while (end < text.size() && (isAsciiAlnum(text[end]) || text[end] == '/')) ++end;
    if (end == 0) return false;
    const std::string key = upperAscii(text.substr(0, end));
    std::string_view rest = text.substr(end);
    while (!rest.empty()) {
      const char open = rest.front();
      const char close = open == '('   ? ')'
                         : open == '[' ? ']'
                         : open == '<' ? '>'
                         : open == '{' ? '}'
                         : open == '~' ? '~'
                                       : '\0';
      if (close == '\0') return false;
      const std::size_t closeAt = rest.find(close, 1);
      if (closeAt == std::string_view::npos) return false;
      if (!readOverride(open, rest.substr(1, closeAt - 1), alias)) return false;
      rest.remove_prefix(closeAt + 1);
    }
    auto& map = exact ? table().exact_ : table().prefixes_;
    // A key listed twice keeps its first entity, as a reader of the file top-down would.
    if (map.emplace(key, alias).second && !exact) {
      table().longestPrefix_ = std::max(table().longestPrefix_, key.size());
    }
    return true;
  }

  static bool readOverride(char kind, std::string_view value, CtyDat::Alias& alias) {
    int zone = 0;
    switch (kind) {
      case '(':
        if (!readZone(value, kMaxCqZone, zone)) return false;
        alias.cqZone = zone;
        return true;
      case '[':
        if (!readZone(value, kMaxItuZone, zone)) return false;
        alias.ituZone = zone;
        return true;
      case '<': {
        const std::size_t slash = value.find('/');
        double lat = 0.0;
        double lon = 0.0;
        if (slash == std::string_view::npos || !readLatitude(value.substr(0, slash), lat) ||
            !readWestLongitude(value.substr(slash + 1), lon)) {
          return false;
        }
        alias.latitude = lat;
        alias.longitude = lon;
        return true;
      }
      case '{':
        if (!isContinent(value)) return false;
        alias.continent = std::string(value);
        return true;
      default: {  // '~': a UTC offset; read for validity, not used by the map
        double offset = 0.0;
        return parseDecimal(trimBlanks(value), offset);
      }
    }
  }

  CtyDat& table() { return out_.table; }

  CtyDat::ParseResult& out_;
};

CtyDat::ParseResult CtyDat::parse(std::string_view text) {
  ParseResult result;
  CtyDatReader(result).read(text);
  return result;
}

CtyLocation CtyDat::resolve(const Alias& alias) const {
  const CtyEntity& entity = *entities_[alias.entity];
  CtyLocation out;
  out.entity = &entity;
  out.latitude = alias.latitude.value_or(entity.latitude);
  out.longitude = alias.longitude.value_or(entity.longitude);
  out.cqZone = alias.cqZone.value_or(entity.cqZone);
  out.ituZone = alias.ituZone.value_or(entity.ituZone);
  out.continent = alias.continent.value_or(entity.continent);
  return out;
}

std::optional<CtyLocation> CtyDat::locate(std::string_view call) const {
  const std::optional<LookupCall> key = lookupCall(call);
  if (!key) return std::nullopt;
  if (const auto hit = exact_.find(key->exact); hit != exact_.end()) return resolve(hit->second);
  const std::string& prefixed = key->prefixed;
  for (std::size_t length = std::min(prefixed.size(), longestPrefix_); length > 0; --length) {
    if (const auto hit = prefixes_.find(prefixed.substr(0, length)); hit != prefixes_.end()) {
      return resolve(hit->second);
    }
  }
  return std::nullopt;
}

}  // namespace orbelle::station

#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The country file cty.dat: DXCC entities with their positions, and the prefixes and whole calls
// that belong to each. Record layout:
//
//   Spratly Islands:          26:  50:  AS:    9.88:  -114.23:    -8.0:  1S:
//       9M0,BM9S,=9M4SDX,=DX0K(26)[50]<9.9/-114.2>{AS}~-8.0~;
//
// name, CQ zone, ITU zone, continent, latitude (north +), longitude (WEST +), UTC offset and the
// primary prefix ("*" marks entities counted only for one award), each ended by ":"; then the
// aliases, separated by "," and ended by ";". An alias with "=" is a whole call; others are
// prefixes. An alias may override (CQ zone), [ITU zone], <latitude/longitude>, {continent} and
// ~UTC offset~ of its entity.
//
// Positions here are converted to the map's convention: degrees, north and EAST positive.

namespace orbelle::station {

struct CtyEntity {
  std::string name;
  int cqZone = 0;
  int ituZone = 0;
  std::string continent;
  double latitude = 0.0;
  double longitude = 0.0;  // east positive
  double utcOffset = 0.0;  // hours, as the file gives it
  std::string primaryPrefix;
};

// The result of a look-up: the entity and its values with the alias's overrides applied.
struct CtyLocation {
  const CtyEntity* entity = nullptr;
  double latitude = 0.0;
  double longitude = 0.0;  // east positive
  int cqZone = 0;
  int ituZone = 0;
  std::string continent;
};

class CtyDat {
 public:
  struct ParseResult;

  // Reads the file's text. A record that cannot be read is skipped and counted; reading goes on
  // with the next record.
  static ParseResult parse(std::string_view text);

  std::size_t entityCount() const { return entities_.size(); }
  std::size_t aliasCount() const { return exact_.size() + prefixes_.size(); }

  // The location of a call: a whole-call alias first, else the longest prefix alias of the call's
  // country part (see lookupCall). nullopt when nothing matches or the call has no country
  // (maritime or aeronautical mobile).
  std::optional<CtyLocation> locate(std::string_view call) const;

 private:
  struct Alias {
    std::size_t entity = 0;
    std::optional<int> cqZone;
    std::optional<int> ituZone;
    std::optional<double> latitude;
    std::optional<double> longitude;  // east positive
    std::optional<std::string> continent;
  };
  CtyLocation resolve(const Alias& alias) const;
  friend class CtyDatReader;

  // Entities are held by pointer so that CtyLocation::entity stays valid when a table moves.
  std::vector<std::unique_ptr<CtyEntity>> entities_;
  std::unordered_map<std::string, Alias> exact_;
  std::unordered_map<std::string, Alias> prefixes_;
  std::size_t longestPrefix_ = 0;
};

struct CtyDat::ParseResult {
  CtyDat table;
  std::size_t skippedRecords = 0;
  std::size_t skippedAliases = 0;
  std::string firstProblem;  // "line 12: ..." for the first record or alias skipped, else ""
};

}  // namespace orbelle::station

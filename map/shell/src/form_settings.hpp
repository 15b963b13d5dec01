#pragma once

// The window's settings in ".\orbelle.ini", section "Settings": the keys it reads at load, with
// their types and defaults, and the list it writes at unload, in order. Reads and writes go
// through the typed INI store (GET_INI / PUT_INI); no Qt.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ini/ini_store.hpp"
#include "ini/variant.hpp"

namespace orbelle::shell {

inline constexpr const char* kSettingsFile = "./orbelle.ini";
inline constexpr const char* kSettingsSection = "Settings";

// Defaults of the keys read at load.
inline constexpr double kDefaultLatHere = 33.9;
inline constexpr double kDefaultLonHere = -84.179;
inline constexpr std::int16_t kDefaultUTCOffset = 5;
inline constexpr double kDefaultMaxDx = 12437.565315561978;
inline constexpr bool kDefaultShowSun = true;
inline constexpr bool kDefaultShowRivers = false;
inline constexpr std::int16_t kDefaultPixelWidth = 600;
inline constexpr std::int16_t kDefaultMaxSpots = 25;
inline constexpr bool kDefaultShowSpots = true;
inline constexpr bool kDefaultShowSpotBy = true;
inline constexpr bool kDefaultShowConnectingLines = true;
inline constexpr bool kDefaultAlwaysOnTop = false;

// Typed reads of one key each (every read keeps the text's case). An absent file or key gives
// the default; the store's messages go to `say`.
class SettingsReader {
 public:
  SettingsReader(std::string file, MessageSink say);

  double readDouble(const char* key, double def) const;               // type code 5
  float readSingle(const char* key, float def) const;                 // type code 4
  std::int16_t readInteger(const char* key, std::int16_t def) const;  // type code 2
  bool readBoolean(const char* key, bool def) const;                  // type code 11

 private:
  Variant read(const char* key, const Variant& def) const;
  std::string file_;
  MessageSink say_;
};

// What the window writes at unload.
struct UnloadValues {
  double LatHere = 0.0;
  double LonHere = 0.0;
  double UTCOffset = 0.0;
  std::int16_t MaxDx = 0;
  bool ShowSun = false;
  bool ShowRivers = false;
  std::int16_t MaxSpots = 0;
  bool ShowSpots = false;
  bool ShowSpotBy = false;
  bool ShowConnectingLines = false;
  float Left = 0.0f;  // window left, twips
  float Top = 0.0f;   // window top, twips
  std::int16_t PixelWidth = 0;
  bool AlwaysOnTop = false;
};

// The keys and typed values in the order they are written.
std::vector<std::pair<std::string, Variant>> unloadEntries(const UnloadValues& values);

// Writes every entry in one replacement of the file; an entry that would break the file's layout
// is skipped and the rest are still written. Returns the number of entries not written (all of
// them when the file could not be read or replaced).
int writeSettings(const std::string& file, const UnloadValues& values, const MessageSink& say);

}  // namespace orbelle::shell

#pragma once

// Shared pieces of the render tests: a temporary program folder with a mapdata subfolder, outline
// files written from records, a window that records what the pass asks of it, and pixel probes.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plane/map_plane.hpp"
#include "raster/surface.hpp"
#include "render/outline_records.hpp"
#include "render/pass_window.hpp"

namespace orbelle::render::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string string() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// A program folder with an (empty) mapdata subfolder.
class ProgramFolder : public TempFolder {
 public:
  ProgramFolder();
  // Writes mapdata/name from records (or raw bytes).
  void write(const std::string& name, const std::vector<OutlineRecord>& records) const;
  void writeBytes(const std::string& name, const std::vector<std::byte>& bytes) const;
  std::string mapDataPath(const std::string& name) const;
};

// Records shorthand: a start, a line, the end, an ignored record; positions in minutes.
OutlineRecord start(int latMinutes, int lonMinutes, int code = 1001);
OutlineRecord lineTo(int latMinutes, int lonMinutes, int code = 1);
OutlineRecord endOfData();
OutlineRecord ignored(int code = -1);

// A window that keeps a log of the calls the pass makes and owns the map layer.
class RecordingWindow : public PassWindow {
 public:
  explicit RecordingWindow(int side);

  void setDrawing(bool drawing) override;
  raster::Surface& beginPass() override;
  void letEventsRun() override;
  void showMessage(const std::string& text) override;
  void writeCache(const raster::Surface& mapLayer) override;
  void endPass() override;
  void refreshOverlay() override;

  raster::Surface mapLayer;
  std::optional<raster::Surface> cached;  // the last picture written as cache
  std::vector<std::string> calls;         // "drawing 1", "begin", "message", "cache", ...
  std::vector<std::string> messages;
  int yields = 0;
  bool Drawing = false;
  // Run at each yield with the yield's number (1 for the first).
  std::function<void(int)> onYield;
  std::function<void()> onWriteCache;
};

// The pixel of a position on the map and its colour (none off the surface).
geo::PixelIndex pixelAt(const geo::MapPlane& plane, const raster::Surface& surface, double lat,
                        double lon);
std::optional<raster::Rgb> colourAt(const geo::MapPlane& plane, const raster::Surface& surface,
                                    double lat, double lon);

// Pixels of the surface that do not have the given colour.
std::int64_t countOtherThan(const raster::Surface& surface, raster::Rgb colour);
std::int64_t countOf(const raster::Surface& surface, raster::Rgb colour);

// The repository's folder (it holds mapdata/ with the shipped outline files), or
// $ORBELLE_PROGRAM_FOLDER when set.
std::string shippedProgramFolder();
bool shippedDataPresent();

}  // namespace orbelle::render::test

#pragma once

// Shared pieces of the render tests: a temporary program folder with outline files, a window that
// records what the pass asks of it, and pixel probes.

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

// A fresh temporary folder with an empty mapdata subfolder, removed with the object.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string string() const { return path_.string(); }
  void write(const std::string& name, const std::vector<OutlineRecord>& records) const;
  void writeBytes(const std::string& name, const std::vector<std::byte>& bytes) const;
  std::string mapDataPath(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Records shorthand, positions in minutes.
OutlineRecord start(int latMinutes, int lonMinutes, int code = 1001);
OutlineRecord lineTo(int latMinutes, int lonMinutes, int code = 1);
OutlineRecord endOfData();
OutlineRecord ignored(int code = -1);

// Logs the pass's calls ("drawing 1", "begin", "message", "cache", ...) and owns the map layer.
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
  std::vector<std::string> calls;
  std::vector<std::string> messages;
  int yields = 0;
  bool Drawing = false;
  std::function<void(int)> onYield;  // run at each yield with its number (1 for the first)
  std::function<void()> onWriteCache;
};

// The pixel of a position on the map and its colour (none off the surface).
geo::PixelIndex pixelAt(const geo::MapPlane& plane, const raster::Surface& surface, double lat,
                        double lon);
std::optional<raster::Rgb> colourAt(const geo::MapPlane& plane, const raster::Surface& surface,
                                    double lat, double lon);
std::int64_t countOf(const raster::Surface& surface, raster::Rgb colour);

// The repository's folder (it holds mapdata/), or $ORBELLE_PROGRAM_FOLDER when set.
std::string shippedProgramFolder();
bool shippedDataPresent();

}  // namespace orbelle::render::test

#pragma once

// Shared pieces of the render tests: program folders, a recording window, pixel probes.

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
  ~ProgramFolder() { std::filesystem::remove_all(path_); }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  std::string string() const { return path_.string(); }
  std::string mapDataPath(const std::string& name) const { return string() + "/mapdata/" + name; }
  void write(const std::string& name, const std::vector<OutlineRecord>& records) const;

 private:
  std::filesystem::path path_;
};

// Records shorthand, positions in minutes.
inline OutlineRecord start(int latMinutes, int lonMinutes, int code = 1001) {
  return {static_cast<std::int16_t>(code), static_cast<std::int16_t>(latMinutes),
          static_cast<std::int16_t>(lonMinutes)};
}
inline OutlineRecord lineTo(int latMinutes, int lonMinutes, int code = 1) {
  return start(latMinutes, lonMinutes, code);
}
inline OutlineRecord endOfData() { return {0, 0, 0}; }

// Logs the pass's calls ("drawing 1", "begin", "message", "cache", ...) and owns the map layer.
class RecordingWindow : public PassWindow {
 public:
  explicit RecordingWindow(int side) : mapLayer(side, side) {}
  void setDrawing(bool drawing) override {
    Drawing = drawing;
    calls.push_back(drawing ? "drawing 1" : "drawing 0");
  }
  raster::Surface& beginPass() override {
    calls.push_back("begin");
    return mapLayer;
  }
  void letEventsRun() override {
    if (onYield)
      onYield(++yields);
    else
      ++yields;
  }
  void showMessage(const std::string& text) override {
    calls.push_back("message");
    messages.push_back(text);
  }
  void writeCache(const raster::Surface& layer) override {
    calls.push_back("cache");
    cached = layer;
    if (onWriteCache) onWriteCache();
  }
  void endPass() override { calls.push_back("end"); }
  void refreshOverlay() override { calls.push_back("overlay"); }

  raster::Surface mapLayer;
  std::optional<raster::Surface> cached;  // the last picture written as cache
  std::vector<std::string> calls, messages;
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
bool samePixels(const raster::Surface& a, const raster::Surface& b);

// The repository's folder (it holds mapdata/), or $ORBELLE_PROGRAM_FOLDER when set.
std::string shippedProgramFolder();
bool shippedDataPresent();

}  // namespace orbelle::render::test

#include "test_support.hpp"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace orbelle::render::test {

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder() {
  std::random_device device;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate =
        fs::temp_directory_path() / ("orbelle-render-test-" + std::to_string(device()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      fs::create_directory(path_ / "mapdata");
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

ProgramFolder::~ProgramFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ProgramFolder::mapDataPath(const std::string& name) const {
  return (path() / "mapdata" / name).string();
}

void ProgramFolder::write(const std::string& name,
                          const std::vector<OutlineRecord>& records) const {
  writeBytes(name, encodeOutlineRecords(records));
}

void ProgramFolder::writeBytes(const std::string& name, const std::vector<std::byte>& bytes) const {
  std::ofstream out(mapDataPath(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + mapDataPath(name));
}

OutlineRecord start(int latMinutes, int lonMinutes, int code) {
  return {static_cast<std::int16_t>(code), static_cast<std::int16_t>(latMinutes),
          static_cast<std::int16_t>(lonMinutes)};
}
OutlineRecord lineTo(int latMinutes, int lonMinutes, int code) {
  return start(latMinutes, lonMinutes, code);
}
OutlineRecord endOfData() { return {0, 0, 0}; }
OutlineRecord ignored(int code) { return start(0, 0, code); }

RecordingWindow::RecordingWindow(int side) : mapLayer(side, side) {}

void RecordingWindow::setDrawing(bool drawing) {
  Drawing = drawing;
  calls.push_back(drawing ? "drawing 1" : "drawing 0");
}
raster::Surface& RecordingWindow::beginPass() {
  calls.push_back("begin");
  return mapLayer;
}
void RecordingWindow::letEventsRun() {
  ++yields;
  if (onYield) onYield(yields);
}
void RecordingWindow::showMessage(const std::string& text) {
  calls.push_back("message");
  messages.push_back(text);
}
void RecordingWindow::writeCache(const raster::Surface& layer) {
  calls.push_back("cache");
  cached = layer;
  if (onWriteCache) onWriteCache();
}
void RecordingWindow::endPass() { calls.push_back("end"); }
void RecordingWindow::refreshOverlay() { calls.push_back("overlay"); }

geo::PixelIndex pixelAt(const geo::MapPlane& plane, const raster::Surface& surface, double lat,
                        double lon) {
  // The pass scales the surface and leaves the plane alone: the scale is the surface's.
  geo::MapPlane drawn = plane;
  drawn.MilesPerPixel = surface.unitWidth();
  return geo::pixelIndexOf(drawn, surface, drawn.ProjectPoint(lat, lon));
}

std::optional<raster::Rgb> colourAt(const geo::MapPlane& plane, const raster::Surface& surface,
                                    double lat, double lon) {
  const geo::PixelIndex p = pixelAt(plane, surface, lat, lon);
  return surface.pixel(p.px, p.py);
}

std::int64_t countOf(const raster::Surface& surface, raster::Rgb colour) {
  const raster::Pixel wanted = raster::toPixel(colour);
  std::int64_t count = 0;
  const std::size_t n = static_cast<std::size_t>(surface.width()) * surface.height();
  for (std::size_t i = 0; i < n; ++i) count += surface.pixels()[i] == wanted;
  return count;
}

std::string shippedProgramFolder() {
  if (const char* folder = std::getenv("ORBELLE_PROGRAM_FOLDER")) return folder;
  return ORBELLE_SOURCE_DIR;
}

bool shippedDataPresent() {
  return fs::is_regular_file(fs::path(shippedProgramFolder()) / "mapdata" / "coast.velapnt");
}

}  // namespace orbelle::render::test

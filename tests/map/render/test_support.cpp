#include "test_support.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace orbelle::render::test {

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder() {
  std::string pattern = (fs::temp_directory_path() / "orbelle-render-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  path_ = pattern;
  fs::create_directory(path_ / "mapdata");
}

void ProgramFolder::write(const std::string& name,
                          const std::vector<OutlineRecord>& records) const {
  const std::vector<std::byte> bytes = encodeOutlineRecords(records);
  std::ofstream out(mapDataPath(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + mapDataPath(name));
}

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
  const std::size_t n = static_cast<std::size_t>(surface.width()) * surface.height();
  return std::count(surface.pixels(), surface.pixels() + n, raster::toPixel(colour));
}

bool samePixels(const raster::Surface& a, const raster::Surface& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

std::string shippedProgramFolder() {
  if (const char* folder = std::getenv("ORBELLE_PROGRAM_FOLDER")) return folder;
  return ORBELLE_SOURCE_DIR;
}

bool shippedDataPresent() {
  return fs::is_regular_file(fs::path(shippedProgramFolder()) / "mapdata" / "coast.velapnt");
}

}  // namespace orbelle::render::test

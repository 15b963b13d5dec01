// Fuzz target for the outline reader. The first input byte picks the station, the map radius, the
// pen width and the polyline at which a cancel arrives; the rest is an outline file, written to a
// program folder and drawn onto a small map by DrawOutlineFile. What the reader reports is checked
// against the records counted here from the bytes.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <span>

#include "fuzz_support.hpp"
#include "geometry/projection.hpp"
#include "plane/map_plane.hpp"
#include "render/outline_reader.hpp"

namespace {

using namespace orbelle;

constexpr int kSide = 48;
constexpr const char* kFileName = "fuzz.pnt";

// Stations (latitude, longitude) and map radii the first byte picks from.
constexpr double kStations[4][2] = {{33.9, -84.179}, {0, 0}, {90, 0}, {-41.3, 174.8}};
constexpr std::int16_t kMaxDx[4] = {12500, 3000, 0, 32767};

// Only the two calls the reader makes are allowed; anything else is a fault.
class FuzzWindow : public render::PassWindow {
 public:
  void setDrawing(bool) override { std::abort(); }
  raster::Surface& beginPass() override { std::abort(); }
  void letEventsRun() override {
    if (++yields == cancelAt) cancel = true;
  }
  void showMessage(const std::string&) override { ++messages; }
  void writeCache(const raster::Surface&) override { std::abort(); }
  void endPass() override { std::abort(); }
  void refreshOverlay() override { std::abort(); }

  std::size_t yields = 0, cancelAt = 0;  // cancelAt 0: never
  int messages = 0;
  bool cancel = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const std::span<const std::uint8_t> file(data + 1, size - 1);

  const std::size_t station = choice & 3u;
  geo::MapPlane plane;
  plane.LatHere = kStations[station][0];
  plane.LonHere = kStations[station][1];
  plane.MaxDx = kMaxDx[(choice >> 2) & 3u];
  raster::Surface surface(kSide, kSide);
  geo::SetMapScale(plane, surface);
  surface.setPenWidth(1 + ((choice >> 4) & 1));

  FuzzWindow window;
  window.cancelAt = choice >> 5;  // 0..7

  static const std::string folder = fuzz::scratchFolder("fuzz_outline");
  static const bool made = ::mkdir((folder + "/mapdata").c_str(), 0700) == 0;
  fuzz::check(made);
  render::OutlineReader reader(folder);
  std::ofstream(reader.pathOf(kFileName), std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  // Each projector is made once: making one costs more than most inputs' reading.
  static std::unique_ptr<render::OutlineProjector> projectors[4];
  if (!projectors[station])
    projectors[station] = std::make_unique<render::OutlineProjector>(plane.LatHere, plane.LonHere);
  render::OutlineTarget target{surface, *projectors[station], window, window.cancel, 1};
  const render::OutlineFigures figures = reader.DrawOutlineFile(kFileName, target);

  // The records as the format defines them, counted independently of the reader.
  const std::vector<render::OutlineRecord> records =
      render::parseOutlineRecords(std::as_bytes(file));
  const std::size_t used = render::recordsBeforeEnd(records);
  std::size_t starts = 0, lines = 0;
  for (std::size_t i = 0; i < used; ++i) {
    const render::PenAction action = render::penAction(records[i].code);
    starts += action == render::PenAction::Start;
    lines += action == render::PenAction::Line;
  }

  const std::size_t cancelAt = window.cancelAt;
  const bool expectCancel = cancelAt > 0 && starts >= cancelAt;
  const std::size_t drawn = figures.lines + figures.stretchedLines;
  fuzz::check(figures.found && window.messages == 0 && figures.records == used &&
              figures.polylines == window.yields && figures.cancelled == expectCancel &&
              figures.dots <= figures.polylines &&
              (expectCancel ? figures.polylines == cancelAt && drawn <= lines
                            : figures.polylines == starts && drawn == lines));
  return 0;
}

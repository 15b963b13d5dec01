#pragma once

// DrawOutlineFile: reads one outline data file and draws its polylines on the map layer in the
// surface's current colour and pen width.
//
// Each record's position is projected from the station and rounded to whole miles (ties to
// even). Code 1..1000 draws a line from the surface's current point to the vertex; a code of
// 1001 or more first plots a dot at the current point when the previous polyline consisted of
// its start vertex only, then moves to the vertex without drawing, lets the window run pending
// events and stops reading when CancelDraw is set; a negative code is skipped; code 0 or the end
// of the file ends the data. The current point carries over from one file to the next.
//
// A polyline whose start code marks a river chain shorter than the target's minChainKm
// (render/outline_records.hpp) is passed over: the pen moves along it without drawing. With a
// minStepMiles, a line record whose vertex lies nearer than that to the current point (in x and
// in y) is passed over too, unless the next record does not continue the polyline.
//
// A line whose projected length exceeds its true length by more than the stretch excess
// (render/stretched_segment.hpp) is not drawn: the pen moves to its end.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "raster/surface.hpp"
#include "render/outline_loader.hpp"
#include "render/outline_projector.hpp"
#include "render/outline_records.hpp"
#include "render/pass_window.hpp"
#include "render/shore_crossings.hpp"
#include "render/vertex_projection.hpp"

namespace orbelle::render {

// What one DrawOutlineFile call did.
struct OutlineFigures {
  bool found = false;              // the file existed and was read
  std::size_t records = 0;         // records before the end of the data
  std::size_t polylines = 0;       // start records reached (each one yields once)
  std::size_t lines = 0;           // lines drawn
  std::size_t stretchedLines = 0;  // lines left undrawn by the stretch rule
  std::size_t dots = 0;            // single-vertex polylines plotted as dots
  std::size_t shortChains = 0;     // polylines passed over as too short a river chain
  bool cancelled = false;          // reading stopped at a start record because of CancelDraw
};

// Everything a file is drawn with during one pass.
struct OutlineTarget {
  raster::Surface& surface;
  const OutlineProjector& projector;
  PassWindow& window;
  const bool& CancelDraw;
  unsigned projectionThreads = 2;  // for a file read on its own
  // When set, every polyline start and every line drawn is handed to it as well (the pass sets
  // it while the shore files are drawn).
  ShoreCrossings* shoreLines = nullptr;
  // Polylines marked with a river chain shorter than this (km) are not drawn; 0 draws all.
  double minChainKm = 0.0;
  // A vertex nearer than this (map miles, in x and in y) to the current point is passed over,
  // unless it ends its polyline; 0 draws every vertex.
  double minStepMiles = 0.0;
};

class OutlineReader {
 public:
  // programFolder: the folder holding the program; the files are in its subfolder "mapdata".
  explicit OutlineReader(std::string programFolder);

  const std::string& programFolder() const noexcept { return programFolder_; }
  // programFolder + "/mapdata/" + name.
  std::string pathOf(std::string_view name) const;

  // Tells the reader which position on the globe the surface's current point (x, y) stands for,
  // so that a line record drawn from it can be checked by the stretch rule. Without one (or when
  // the current point has moved since), such a first line is drawn as it is.
  void setPenPosition(double x, double y, double lat, double lon);

  // Missing file: shows "File " + path + " does not exist" and returns. A file that exists but
  // cannot be read shows a message naming it and the fault.
  OutlineFigures DrawOutlineFile(std::string_view name, OutlineTarget& target);

  // The same for file index of a loader made for the pass (see outline_loader.hpp), which
  // projects while this draws.
  OutlineFigures DrawOutlineFile(OutlineLoader& loader, std::size_t index, OutlineTarget& target);

 private:
  struct PenPosition {
    double x = 0.0, y = 0.0;      // map miles, as the surface holds its current point
    double lat = 0.0, lon = 0.0;  // degrees
  };

  // The globe position of the surface's current point, when known.
  std::optional<PenPosition> penOn(const raster::Surface& surface) const;

  std::string programFolder_;
  std::optional<PenPosition> pen_;
};

}  // namespace orbelle::render

#include "render/outline_reader.hpp"

#include <cmath>
#include <utility>

#include "render/pass_style.hpp"
#include "render/stretched_segment.hpp"

namespace orbelle::render {

OutlineReader::OutlineReader(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

std::string OutlineReader::pathOf(std::string_view name) const {
  std::string path = programFolder_;
  path += '/';
  path += kMapDataFolderName;
  path += '/';
  path += name;
  return path;
}

void OutlineReader::setPenPosition(double x, double y, double lat, double lon) {
  pen_ = PenPosition{x, y, lat, lon};
}

std::optional<OutlineReader::PenPosition> OutlineReader::penOn(
    const raster::Surface& surface) const {
  if (pen_ && pen_->x == surface.currentX() && pen_->y == surface.currentY()) return pen_;
  return std::nullopt;
}

OutlineFigures OutlineReader::DrawOutlineFile(std::string_view name, OutlineTarget& target) {
  OutlineLoader loader({pathOf(name)}, target.projector, target.projectionThreads);
  return DrawOutlineFile(loader, 0, target);
}

OutlineFigures OutlineReader::DrawOutlineFile(OutlineLoader& loader, std::size_t index,
                                              OutlineTarget& target) {
  OutlineFigures figures;
  const LoadedOutline& file = loader.file(index);
  if (file.state == LoadedOutline::State::Missing) {
    target.window.showMessage("File " + file.path + " does not exist");
    return figures;
  }
  if (file.state == LoadedOutline::State::Unreadable) {
    target.window.showMessage(file.error);
    return figures;
  }
  figures.found = true;
  figures.records = file.records.size();

  raster::Surface& surface = target.surface;
  // The loader's whole pixels serve while the surface keeps the mapping they were made for.
  auto pixelsServe = [&] {
    return !file.pixels.empty() && loader.mapping() == surface.pixelMapping() &&
           (target.shoreLines == nullptr || target.shoreLines->mapping() == loader.mapping());
  };
  bool usePixels = pixelsServe();
  std::optional<PenPosition> pen = penOn(surface);
  bool lonePoint = false;
  bool passOver = false;  // the current polyline is too short a river chain
  std::size_t projectedEnd = 0;
  for (std::size_t i = 0; i < file.records.size(); ++i) {
    if (i == projectedEnd) projectedEnd = loader.ensureProjected(index, i);
    const OutlineRecord& record = file.records[i];
    const MapVertex vertex = file.vertices[i];
    const double x = vertex.x, y = vertex.y;
    switch (penAction(record.code)) {
      case PenAction::Line: {
        if (passOver) {
          surface.moveTo(x, y);
          pen = PenPosition{x, y, record.latDegrees(), record.lonDegrees()};
          break;
        }
        if (target.minStepMiles > 0.0 && i + 1 < file.records.size() &&
            penAction(file.records[i + 1].code) == PenAction::Line &&
            std::abs(x - surface.currentX()) < target.minStepMiles &&
            std::abs(y - surface.currentY()) < target.minStepMiles) {
          break;
        }
        const geo::MapPoint from{surface.currentX(), surface.currentY()};
        const bool stretched =
            pen && mayBeStretched(from, {x, y}) &&
            isStretchedSegment(
                from, {x, y},
                trueSegmentMiles(pen->lat, pen->lon, record.latDegrees(), record.lonDegrees()));
        if (stretched) {
          surface.moveTo(x, y);
          ++figures.stretchedLines;
        } else {
          if (usePixels) {
            const raster::WholePixel fromPixel = surface.currentPixel();
            surface.lineTo(x, y, file.pixels[i]);
            if (target.shoreLines != nullptr) target.shoreLines->add(fromPixel, file.pixels[i]);
          } else {
            surface.lineTo(x, y);
            if (target.shoreLines != nullptr) target.shoreLines->add(from.x, from.y, x, y);
          }
          ++figures.lines;
        }
        pen = PenPosition{x, y, record.latDegrees(), record.lonDegrees()};
        lonePoint = false;
        break;
      }
      case PenAction::Start: {
        if (lonePoint) {
          surface.dot(surface.currentX(), surface.currentY());
          ++figures.dots;
        }
        surface.moveTo(x, y);
        if (target.shoreLines != nullptr) target.shoreLines->beginRing();
        pen = PenPosition{x, y, record.latDegrees(), record.lonDegrees()};
        passOver = chainKmOf(record.code) >= 0.0 && chainKmOf(record.code) < target.minChainKm;
        figures.shortChains += passOver;
        lonePoint = !passOver;
        ++figures.polylines;
        pen_ = pen;
        target.window.letEventsRun();
        // The events may have moved the current point; the rule then no longer knows it.
        pen = penOn(surface);
        usePixels = pixelsServe();
        if (target.CancelDraw) {
          figures.cancelled = true;
          return figures;
        }
        break;
      }
      case PenAction::Ignore:
        lonePoint = false;
        break;
      case PenAction::End:
        break;  // not reached: the records stop before the end record
    }
  }
  pen_ = pen;
  return figures;
}

}  // namespace orbelle::render

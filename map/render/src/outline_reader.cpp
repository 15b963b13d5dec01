#include "render/outline_reader.hpp"

#include <exception>
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
  OutlineFigures figures;
  if (load(name, target, figures)) draw(target, figures);
  return figures;
}

bool OutlineReader::load(std::string_view name, OutlineTarget& target, OutlineFigures& figures) {
  const std::string path = pathOf(name);
  std::optional<std::vector<std::byte>> bytes;
  try {
    bytes = readWholeFile(path);
  } catch (const std::exception& error) {
    target.window.showMessage(error.what());
    return false;
  }
  if (!bytes) {
    target.window.showMessage("File " + path + " does not exist");
    return false;
  }
  figures.found = true;

  parseOutlineRecords(*bytes, records_);
  std::size_t count = recordsBeforeEnd(records_);
  figures.records = count;
  if (target.CancelDraw) {
    // A cancelled pass stops each file at its first start record: project no further.
    for (std::size_t i = 0; i < count; ++i) {
      if (penAction(records_[i].code) == PenAction::Start) {
        count = i + 1;
        break;
      }
    }
  }
  records_.resize(count);
  vertices_.resize(count);
  projectRecords(records_, target.projector, vertices_, target.projectionThreads);
  return true;
}

void OutlineReader::draw(OutlineTarget& target, OutlineFigures& figures) {
  raster::Surface& surface = target.surface;
  std::optional<PenPosition> pen = penOn(surface);
  bool lonePoint = false;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const OutlineRecord& record = records_[i];
    const MapVertex vertex = vertices_[i];
    const double x = vertex.x, y = vertex.y;
    switch (penAction(record.code)) {
      case PenAction::Line: {
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
          surface.lineTo(x, y);
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
        pen = PenPosition{x, y, record.latDegrees(), record.lonDegrees()};
        lonePoint = true;
        ++figures.polylines;
        pen_ = pen;
        target.window.letEventsRun();
        // The events may have moved the current point; the rule then no longer knows it.
        pen = penOn(surface);
        if (target.CancelDraw) {
          figures.cancelled = true;
          return;
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
}

}  // namespace orbelle::render

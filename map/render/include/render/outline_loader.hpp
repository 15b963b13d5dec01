#pragma once

// Reads the outline files of a pass up front and projects their records in pieces, on helper
// threads and on the drawing thread, while the drawing thread draws the pieces in record order.
// A piece is drawn as soon as it is projected, so drawing and projecting overlap and both cores
// stay busy; the result does not depend on which thread projected what.
//
// Files are read whole when the loader is made, at every pass; only the projections of a file
// whose records and station are unchanged are taken over from the last pass's loader. Given the
// surface's pixel mapping, the pieces also convert each vertex to the whole pixel the surface
// would draw it on, so the drawing thread does not.

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "raster/surface.hpp"
#include "render/outline_projector.hpp"
#include "render/outline_records.hpp"
#include "render/vertex_projection.hpp"

namespace orbelle::render {

struct LoadedOutline {
  enum class State { Read, Missing, Unreadable };
  std::string path;
  State state = State::Missing;
  std::string error;                       // what went wrong reading an unreadable file
  std::vector<OutlineRecord> records;      // the records before the end of the data
  std::vector<MapVertex> vertices;         // their projections, valid where ensureProjected says
  std::vector<raster::WholePixel> pixels;  // their whole pixels (with a mapping), likewise
};

// Records per piece of projection work.
inline constexpr std::size_t kProjectionPieceRecords = 8192;

class OutlineLoader {
 public:
  // Reads the files at paths (in order) and starts threads − 1 helpers projecting their records
  // with projector, which must outlive the projection (every piece projected, or the loader
  // gone). A file that previous (a loader whose every vertex is projected) read from the same
  // path with the same records, for the same station, takes its projections from there instead.
  // With a mapping, every vertex's whole pixel under it is made as well.
  OutlineLoader(const std::vector<std::string>& paths, const OutlineProjector& projector,
                unsigned threads, OutlineLoader* previous = nullptr,
                std::optional<raster::PixelMapping> mapping = std::nullopt);
  ~OutlineLoader();
  OutlineLoader(const OutlineLoader&) = delete;
  OutlineLoader& operator=(const OutlineLoader&) = delete;

  std::size_t size() const noexcept { return files_.size(); }
  const LoadedOutline& file(std::size_t index) const { return files_[index]; }
  const std::optional<raster::PixelMapping>& mapping() const noexcept { return mapping_; }

  // Makes sure the piece of file index that holds record is projected (projecting pieces on
  // this thread while the helpers are busy with it) and returns the end of that piece.
  std::size_t ensureProjected(std::size_t index, std::size_t record);

  // Projects everything that is left on this thread and the helpers; afterwards every vertex is
  // valid.
  void projectAll();

 private:
  struct Piece {
    std::size_t file = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
  };

  // Claims the next unprojected piece and projects it; false when none is left.
  bool projectNextPiece() noexcept;
  void helperLoop() noexcept;

  const OutlineProjector& projector_;
  double latHere_, lonHere_;  // the projector's station (kept: the projector may be gone)
  std::optional<raster::PixelMapping> mapping_;
  std::vector<LoadedOutline> files_;
  std::vector<Piece> pieces_;
  std::vector<std::size_t> firstPiece_;  // per file, index of its first piece
  std::vector<bool> reused_;             // per file, projections taken from a previous loader
  std::unique_ptr<std::atomic<bool>[]> done_;
  std::atomic<std::size_t> next_{0};
  std::vector<std::thread> helpers_;
};

}  // namespace orbelle::render

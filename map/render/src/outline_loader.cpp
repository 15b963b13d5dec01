#include "render/outline_loader.hpp"

#include <exception>
#include <system_error>

namespace orbelle::render {

OutlineLoader::OutlineLoader(const std::vector<std::string>& paths,
                             const OutlineProjector& projector, unsigned threads,
                             OutlineLoader* previous, std::optional<raster::PixelMapping> mapping)
    : projector_(projector),
      latHere_(projector.literal().latHere()),
      lonHere_(projector.literal().lonHere()),
      mapping_(mapping) {
  files_.resize(paths.size());
  reused_.assign(paths.size(), false);
  const bool sameStation =
      previous != nullptr && previous->latHere_ == latHere_ && previous->lonHere_ == lonHere_;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    LoadedOutline& file = files_[i];
    file.path = paths[i];
    try {
      const std::optional<std::vector<std::byte>> bytes = readWholeFile(file.path);
      if (!bytes) continue;
      parseOutlineRecords(*bytes, file.records);
      file.records.resize(recordsBeforeEnd(file.records));
      file.state = LoadedOutline::State::Read;
      if (sameStation) {
        for (LoadedOutline& old : previous->files_) {
          if (old.state == file.state && old.path == file.path && old.records == file.records) {
            file.vertices = std::move(old.vertices);
            old.records.clear();
            reused_[i] = true;
            break;
          }
        }
      }
      if (!reused_[i]) file.vertices.resize(file.records.size());
      if (mapping_) file.pixels.resize(file.records.size());
    } catch (const std::exception& error) {
      file.state = LoadedOutline::State::Unreadable;
      file.error = error.what();
      file.records.clear();
    }
  }

  firstPiece_.resize(files_.size());
  for (std::size_t i = 0; i < files_.size(); ++i) {
    firstPiece_[i] = pieces_.size();
    const std::size_t n = reused_[i] && !mapping_ ? 0 : files_[i].records.size();
    for (std::size_t begin = 0; begin < n; begin += kProjectionPieceRecords) {
      pieces_.push_back({i, begin, std::min(n, begin + kProjectionPieceRecords)});
    }
  }
  done_ = std::make_unique<std::atomic<bool>[]>(pieces_.size());
  for (std::size_t p = 0; p < pieces_.size(); ++p) done_[p].store(false, std::memory_order_relaxed);

  const std::size_t wanted = threads > 1 ? threads - 1 : 0;
  for (std::size_t h = 0; h < wanted && h + 1 < pieces_.size(); ++h) {
    try {
      helpers_.emplace_back(&OutlineLoader::helperLoop, this);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the drawing thread projects the rest itself
    }
  }
}

OutlineLoader::~OutlineLoader() {
  // Helpers stop by themselves once every piece is claimed; claim the rest so they stop soon.
  next_.store(pieces_.size());
  for (std::thread& helper : helpers_) helper.join();
}

bool OutlineLoader::projectNextPiece() noexcept {
  const std::size_t p = next_.fetch_add(1);
  if (p >= pieces_.size()) return false;
  const Piece& piece = pieces_[p];
  LoadedOutline& file = files_[piece.file];
  const std::size_t count = piece.end - piece.begin;
  if (!reused_[piece.file]) {
    projectRecords(std::span(file.records).subspan(piece.begin, count), projector_,
                   std::span(file.vertices).subspan(piece.begin, count), 1);
  }
  if (mapping_) {
    for (std::size_t i = piece.begin; i < piece.end; ++i) {
      file.pixels[i] = mapping_->of(file.vertices[i].x, file.vertices[i].y);
    }
  }
  done_[p].store(true, std::memory_order_release);
  return true;
}

void OutlineLoader::helperLoop() noexcept {
  while (projectNextPiece()) {
  }
}

std::size_t OutlineLoader::ensureProjected(std::size_t index, std::size_t record) {
  if (reused_[index] && !mapping_) return files_[index].records.size();
  const std::size_t p = firstPiece_[index] + record / kProjectionPieceRecords;
  while (!done_[p].load(std::memory_order_acquire)) {
    // The piece is being projected by a helper: do later work meanwhile, or wait for it.
    if (!projectNextPiece()) std::this_thread::yield();
  }
  return pieces_[p].end;
}

void OutlineLoader::projectAll() {
  while (projectNextPiece()) {
  }
  for (std::size_t p = 0; p < pieces_.size(); ++p) {
    while (!done_[p].load(std::memory_order_acquire)) std::this_thread::yield();
  }
}

}  // namespace orbelle::render

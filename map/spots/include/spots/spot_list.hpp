#pragma once

// The spot table SpotData as a ring of MaxSpots slots: AddSpot fills slot NextSpot and moves on,
// wrapping from MaxSpots to 1, so a new spot overwrites the oldest. Each slot holds its table row
// and what its two markers show (hover texts and colours). Slots are numbered 1 .. MaxSpots.
//
// A slot counts as filled from the AddSpot that wrote it until the next ClearSpots, whatever
// colour the host gave: a negative Color is stored in column 3 as it came, but does not turn the
// spot into an empty slot that the redraw would skip while its marker stays on the map.

#include <cstdint>
#include <string>
#include <vector>

#include "spots/marker_press.hpp"
#include "spots/spot_row.hpp"

namespace orbelle::spots {

// What the markers of one slot show.
struct SlotMarkers {
  std::string spotText;                        // hover text of the spot marker
  std::string spotterText;                     // hover text of the spotter marker
  std::string call;                            // the spot's call sign, trimmed: its label
  raster::Rgb spotColor = kSpotTemplateColor;  // background of the spot marker
  raster::Rgb spotterColor = kSpotterTemplateColor;
};

struct Slot {
  SpotRow row;
  SlotMarkers markers;
  bool filled = false;
};

// MaxSpots from the settings bounded to kMinMaxSpots .. kMaxMaxSpots.
std::int16_t boundedMaxSpots(std::int16_t maxSpots) noexcept;

class SpotList {
 public:
  // No slots until the first ClearSpots.
  SpotList() = default;

  // A new table of boundedMaxSpots(maxSpots) empty slots (column 3 = −1); NextSpot = 1.
  void ClearSpots(std::int16_t maxSpots);

  // Stores the spot in slot NextSpot, projected from the station (latHere, lonHere), builds its
  // hover texts (decimalSeparator for the frequency) and marker colours, and advances NextSpot.
  // Returns the slot filled. Values are stored unchanged, without validation. Without a table
  // (no ClearSpots yet) the table is first made with `maxSpotsIfNone` slots.
  int AddSpot(double latHere, double lonHere, const SpotArgs& spot,
              const std::string& decimalSeparator, std::int16_t maxSpotsIfNone);

  // Projects every filled slot again (columns 4, 5, 15 and 16) as seen from a new station, so
  // that its markers stay at the spot's and the spotter's places on a map of that station.
  void reproject(double latHere, double lonHere);

  // Counts every AddSpot and ClearSpots: a press reads it before calling the host and writes the
  // host's answer back only if it has not moved since.
  std::uint64_t generation() const noexcept { return generation_; }

  // Writes the host's answer to a rig request into the rig cells of slot i (columns 6, 19 and
  // 7), unless the list changed after `generation` was read (the slot may hold another spot by
  // now). False when nothing was written.
  bool answerRig(int i, std::uint64_t generation, const RigRequest& answer);

  std::int16_t MaxSpots() const noexcept { return static_cast<std::int16_t>(slots_.size()); }
  std::int16_t NextSpot() const noexcept { return nextSpot_; }

  // Slot i, 1 ≤ i ≤ MaxSpots().
  const Slot& slot(int i) const { return slots_.at(static_cast<std::size_t>(i - 1)); }
  const SpotRow& row(int i) const { return slot(i).row; }

 private:
  std::vector<Slot> slots_;
  std::int16_t nextSpot_ = 1;
  std::uint64_t generation_ = 0;
};

}  // namespace orbelle::spots

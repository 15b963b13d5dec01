#pragma once

// The flood-fill seeds of the drawing pass: points in oceans, seas and large lakes that are
// filled with the water colour, and two on the large ice caps filled with the ice colour, used
// in this order. A seed only fills where it finds land colour, so several seeds may name one
// water body; the first of them that lies clear on the visible map does the fill.

#include <array>
#include <span>

namespace orbelle::render {

enum class SeedColor { Water, Ice };

struct FillSeed {
  double lat = 0.0;  // degrees, north positive
  double lon = 0.0;  // degrees, east positive
  SeedColor color = SeedColor::Water;
};

// Degrees plus minutes / 60 in double precision; south and west are negative (the sign applies
// to the sum).
constexpr double north(int degrees, int minutes = 0) { return degrees + minutes / 60.0; }
constexpr double south(int degrees, int minutes = 0) { return -(degrees + minutes / 60.0); }
constexpr double east(int degrees, int minutes = 0) { return degrees + minutes / 60.0; }
constexpr double west(int degrees, int minutes = 0) { return -(degrees + minutes / 60.0); }

// The fixed seed table: 45 water seeds, then the Antarctic and the Greenland ice seeds.
inline constexpr std::array<FillSeed, 47> kSeedTable{{
    {north(60), west(85)},                  // 1 Hudson Bay
    {north(41), east(51)},                  // 2 Caspian Sea
    {north(36), east(19)},                  // 3 Mediterranean, Ionian Sea
    {north(40), east(6)},                   // 4 Mediterranean, west
    {north(19), east(39, 30)},              // 5 Red Sea
    {north(26), east(52, 30)},              // 6 Persian Gulf
    {north(59), east(20)},                  // 7 Baltic Sea
    {north(43), east(32)},                  // 8 Black Sea
    {north(0), east(0)},                    // 9 Gulf of Guinea
    {north(35), west(72)},                  // 10 North Atlantic
    {north(26), west(62)},                  // 11 North Atlantic, Sargasso Sea
    {north(18), west(154)},                 // 12 North Pacific, Hawaii
    {north(35), west(123)},                 // 13 North Pacific, California
    {north(44), west(125)},                 // 14 North Pacific, Oregon
    {north(23), west(108)},                 // 15 Gulf of California
    {north(55, 53), west(81, 1)},           // 16 Hudson Bay, south-east
    {north(10), east(63)},                  // 17 Arabian Sea
    {north(28), west(86, 30)},              // 18 Gulf of Mexico
    {north(31, 30), west(79, 36)},          // 19 North Atlantic, off Georgia
    {north(65, 2), west(59, 40)},           // 20 Davis Strait
    {south(3, 17), east(10, 12)},           // 21 South Atlantic, off Gabon
    {north(9, 55), east(121)},              // 22 Sulu Sea
    {north(37), east(135)},                 // 23 Sea of Japan
    {north(47, 30), west(85, 58)},          // 24 Lake Superior
    {north(46, 58), west(86, 55)},          // 25 Lake Superior
    {north(43, 43), west(87, 4)},           // 26 Lake Michigan
    {north(45, 17), west(81, 58)},          // 27 Lake Huron, Georgian Bay
    {north(44, 28), west(82, 58)},          // 28 Lake Huron
    {north(42, 25), west(82, 40)},          // 29 Lake St Clair
    {north(42, 28), west(82, 48)},          // 30 Lake St Clair
    {north(42, 30), west(81, 10)},          // 31 Lake Erie
    {north(41, 36), west(81, 48)},          // 32 Lake Erie
    {north(43, 46), west(77, 18)},          // 33 Lake Ontario
    {north(43, 26), west(77, 31)},          // 34 Lake Ontario
    {north(26, 56), west(80, 50)},          // 35 Lake Okeechobee
    {north(41, 4), west(112, 22)},          // 36 Great Salt Lake
    {south(0, 26), east(34, 7)},            // 37 Lake Victoria
    {south(0, 27), east(32, 52)},           // 38 Lake Victoria
    {south(1, 31), east(32, 43)},           // 39 Lake Victoria
    {north(3, 56), east(36, 6)},            // 40 Lake Turkana
    {north(4, 22), east(35, 59)},           // 41 Lake Turkana
    {south(5, 58), east(29, 27)},           // 42 Lake Tanganyika
    {south(5, 51), east(29, 48)},           // 43 Lake Tanganyika
    {south(12, 14), east(34, 12)},          // 44 Lake Malawi
    {south(12, 11), east(34, 34)},          // 45 Lake Malawi
    {south(79), east(50), SeedColor::Ice},  // 46 Antarctica
    {north(74), west(41), SeedColor::Ice},  // 47 Greenland
}};

// Seeds used after the table, in this order: seas that the outlines close off from the seeds
// above (behind island chains and narrow straits, or cut apart near the station's antipode), and
// the middles of the largest lakes.
std::span<const FillSeed> extraSeeds() noexcept;

}  // namespace orbelle::render

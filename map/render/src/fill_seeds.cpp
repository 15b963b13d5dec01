#include "render/fill_seeds.hpp"

namespace orbelle::render {

namespace {

// Each lies in water on the outline data, at least 20 miles from any shore (most of them over
// 60); a test checks that against the data.
constexpr FillSeed kExtraSeeds[] = {
    {north(55), east(150)},         // Sea of Okhotsk
    {north(13), east(114)},         // South China Sea
    {south(5), east(111)},          // Java Sea
    {north(8), east(120)},          // Sulu Sea, south
    {north(4), east(123)},          // Celebes Sea
    {south(5), east(126)},          // Banda Sea
    {south(6, 30), east(118)},      // Flores Sea
    {north(9), east(102)},          // Gulf of Thailand
    {north(10), east(96)},          // Andaman Sea
    {north(15), east(88)},          // Bay of Bengal
    {north(30), east(126)},         // East China Sea
    {north(36), east(123)},         // Yellow Sea
    {north(20), east(132)},         // Philippine Sea
    {south(15), east(155)},         // Coral Sea
    {south(38), east(160)},         // Tasman Sea
    {south(10), east(135)},         // Arafura Sea
    {south(14), east(139)},         // Gulf of Carpentaria
    {south(11), east(127)},         // Timor Sea
    {north(58), west(178)},         // Bering Sea
    {north(70), west(170)},         // Chukchi Sea
    {north(72), west(140)},         // Beaufort Sea
    {north(87), east(0)},           // Arctic Ocean
    {north(73), east(40)},          // Barents Sea
    {north(75), east(70)},          // Kara Sea
    {north(76), east(125)},         // Laptev Sea
    {north(73), east(165)},         // East Siberian Sea
    {north(73), west(65)},          // Baffin Bay
    {north(66), west(80)},          // Foxe Basin
    {north(75), east(0)},           // Greenland Sea
    {north(68), east(3)},           // Norwegian Sea
    {north(56), east(3)},           // North Sea
    {north(57), west(55)},          // Labrador Sea
    {north(48), west(63)},          // Gulf of St Lawrence
    {north(57), west(145)},         // Gulf of Alaska
    {north(15), west(75)},          // Caribbean Sea
    {north(43), east(15)},          // Adriatic Sea
    {north(38), east(25, 30)},      // Aegean Sea
    {north(40), east(12)},          // Tyrrhenian Sea
    {north(61, 30), east(19, 30)},  // Gulf of Bothnia
    {north(12, 30), east(48)},      // Gulf of Aden
    {north(24, 30), east(58, 30)},  // Gulf of Oman
    {south(18), east(41)},          // Mozambique Channel
    {south(20), east(80)},          // Indian Ocean
    {south(45), east(90)},          // Southern Indian Ocean
    {south(30), west(15)},          // South Atlantic
    {south(30), west(120)},         // South Pacific, east
    {south(22), west(168)},         // South Pacific, west
    {south(35), east(130)},         // Great Australian Bight
    {south(60), east(0)},           // Southern Ocean, Atlantic side
    {south(60), east(90)},          // Southern Ocean, Indian side
    {south(60), west(160)},         // Southern Ocean, Pacific side
    {south(70), west(40)},          // Weddell Sea
    {south(75), west(175)},         // Ross Sea
    // The middles of large lakes (of each part where a border crosses one), for maps on which
    // the lake seeds of the table lie too near a shore to be used, and lakes the table lacks.
    {north(47, 6), west(86, 48)},    // Lake Superior, United States part
    {north(48, 18), west(87, 30)},   // Lake Superior, Canadian part
    {south(0, 36), east(33, 12)},    // Lake Victoria, Ugandan part
    {south(1, 15), east(33)},        // Lake Victoria, Tanzanian part
    {north(44, 45), west(82, 20)},   // Lake Huron
    {north(43, 50), west(87, 12)},   // Lake Michigan
    {south(6, 48), east(30, 2)},     // Lake Tanganyika
    {north(54, 12), east(109)},      // Lake Baikal
    {north(60, 48), east(31, 36)},   // Lake Ladoga
    {north(66), west(120, 30)},      // Great Bear Lake
    {north(61, 24), west(114, 30)},  // Great Slave Lake
    {north(52, 54), west(98)},       // Lake Winnipeg
    {north(45), east(60, 12)},       // Aral Sea
};

}  // namespace

std::span<const FillSeed> extraSeeds() noexcept { return kExtraSeeds; }

}  // namespace orbelle::render

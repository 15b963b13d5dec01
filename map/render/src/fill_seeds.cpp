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
    // Narrow seas and channels that island chains and capes close off on coarse maps, each at
    // its point farthest from the shores.
    {north(27, 6), east(51)},        // Persian Gulf
    {north(28, 18), east(49, 54)},   // Persian Gulf, north
    {north(22, 36), east(37, 48)},   // Red Sea
    {north(16, 6), east(41, 18)},    // Red Sea, south
    {north(25, 54), east(35, 30)},   // Red Sea, north
    {north(55, 48), east(18)},       // Baltic Sea, south
    {north(56), east(19, 30)},       // Baltic Sea, east of Gotland
    {north(57, 30), east(23, 42)},   // Gulf of Riga
    {north(64, 48), east(22, 54)},   // Bothnian Bay
    {north(42, 6), east(17)},        // Adriatic Sea, south
    {north(44, 30), east(13, 6)},    // Adriatic Sea, north
    {north(43, 6), east(8)},         // Ligurian Sea
    {north(40), east(135)},          // Sea of Japan
    {north(42, 30), east(137, 6)},   // Sea of Japan, north
    {north(39), east(132)},          // Sea of Japan, west
    {north(38, 36), east(119, 48)},  // Bohai Sea
    {south(2, 6), east(129)},        // Seram Sea
    {north(0), east(126)},           // Molucca Sea
    {south(0, 30), east(121)},       // Gulf of Tomini
    {south(4, 24), east(120, 54)},   // Gulf of Bone
    {south(9, 42), east(122, 30)},   // Savu Sea
    {north(71), west(91, 6)},        // Gulf of Boothia
    {north(71, 30), west(102, 6)},   // M'Clintock Channel
    {north(74, 18), west(107, 48)},  // Viscount Melville Sound
    {north(70, 30), west(122, 30)},  // Amundsen Gulf
    {north(74, 6), west(84, 30)},    // Lancaster Sound
    {north(72, 36), west(91)},       // Prince Regent Inlet
    {north(61, 54), west(70, 30)},   // Hudson Strait
    {north(59, 30), west(67, 30)},   // Ungava Bay
    {north(52, 12), west(80, 18)},   // James Bay
    {north(65, 30), east(38, 24)},   // White Sea
    {north(46), east(36, 42)},       // Sea of Azov
    {north(58), east(10)},           // Skagerrak
    {north(53, 36), west(5, 18)},    // Irish Sea
    {north(50, 6), west(0, 30)},     // English Channel
    {north(29, 24), west(112, 48)},  // Gulf of California, north
    {north(42, 30), west(68)},       // Gulf of Maine
    {north(20, 30), west(94)},       // Bay of Campeche
    // Widest points of seas and straits from the outline data's own survey (mapdata/README.md).
    {north(39, 52), east(134, 37)},  // Sea of Japan, widest
    {north(43, 26), east(31, 19)},   // Black Sea, west
    {north(42, 52), east(37, 33)},   // Black Sea, east
    {north(38, 46), east(6, 3)},     // Balearic Sea
    {north(55, 54), east(18, 59)},   // Baltic Sea, south, widest
    {north(14, 24), east(42, 12)},   // Red Sea, south, widest
    {north(36, 4), east(24, 32)},    // Sea of Crete
    {north(43), east(15, 1)},        // Adriatic Sea, middle
    {north(63, 30), west(74, 50)},   // Hudson Strait, west
    {north(69, 48), west(99, 37)},   // Victoria Strait
    {north(26, 8), west(110, 12)},   // Gulf of California, middle
    {north(24, 2), west(77)},        // Tongue of the Ocean
    {south(0, 38), east(129, 10)},   // Halmahera Sea
    {south(2, 20), east(135, 24)},   // Cenderawasih Bay
    {south(1, 6), east(99, 42)},     // Mentawai Strait
    {north(19, 12), east(107, 7)},   // Gulf of Tonkin
    {south(40, 6), east(146, 18)},   // Bass Strait
    {south(4, 42), east(108, 55)},   // Java Sea, west
    {north(8, 18), east(120, 13)},   // Sulu Sea, south basin
    {north(3, 36), east(122, 44)},   // Celebes Sea, widest
    {south(0, 18), east(125, 38)},   // Molucca Sea, widest
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

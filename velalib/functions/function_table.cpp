// The library's function table and its one exported entry.
#include "foxlib.hpp"
#include "functions.hpp"

namespace velalib::entry {
namespace {

const FoxInfo kFunctions[] = {
    {"MAKE_TAG", MAKE_TAG, 2, "C,C"},
    {"TAG_VAL", TAG_VAL, 3, "C, C,.C"},
    {"TAG_FLD", TAG_FLD, 2, "C,C"},
    {"GET_ITEM", GET_ITEM, 3, "C,C,I"},
    {"wild_card", wild_card, 2, "C,C"},
    {"val_", val_, 1, "C"},
    {"DEC_", DEC_, 1, "I"},
    {"HEX_", HEX_, 1, "I"},
    {"STOD", STOD, 1, "C"},
    {"cstr", cstr, 1, "C"},
    {"str_asc", str_asc, 2, "C,I"},
    {"adj_360", adj_360, 1, "N"},
    {"DELAY_MS", DELAY_MS, 1, "I"},
    {"main_hwnd", main_hwnd, 0, ""},
    {"get_hwnd", get_hwnd, 1, "O"},
    {"get_wh", get_wh, 1, "O"},
    {"get_client_wh", get_client_wh, 1, "O"},
    {"w_putstr", w_putstr, 4, "I,C,.I,.I"},
    {"NEW_PROP", NEW_PROP, 3, "OC?"},
    {"file_sel", file_sel, 8, ".C, .C, .C, .C, .I, .I, .C, .I"},
    {"VER_GETFILEVERSIONINFO", VER_GETFILEVERSIONINFO, 2, "C,I"},
};

const FoxTable kTable = {nullptr, static_cast<int16_t>(sizeof kFunctions / sizeof kFunctions[0]),
                         kFunctions};

}  // namespace
}  // namespace velalib::entry

FOX_DEFINE_DISPATCH(velalib::entry::kTable)

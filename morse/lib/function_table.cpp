// The library's function table and its exported dispatch entry.
#include "foxlib.hpp"
#include "lib/functions.hpp"

namespace {

const FoxInfo kFunctions[] = {
    {"CALLONLOAD", morse::CALLONLOAD, FOX_CALLONLOAD, ""},
    {"CW_WPM", morse::CW_WPM, 1, ".I"},
    {"CW_WEIGHT", morse::CW_WEIGHT, 1, ".I"},
    {"CW_FARNSWORTH", morse::CW_FARNSWORTH, 1, ".I"},
    {"CW_SPEEDADJ", morse::CW_SPEEDADJ, 1, ".I"},
    {"CW_IEADJ", morse::CW_IEADJ, 1, ".I"},
    {"CW_ICADJ", morse::CW_ICADJ, 1, ".I"},
    {"CW_IWADJ", morse::CW_IWADJ, 1, ".I"},
    {"CW_SEND", morse::CW_SEND, 2, "?, .O"},
    {"CW_KBD", morse::CW_KBD, 3, "O, O, .L"},
    {"CW_PAUSED", morse::CW_PAUSED, 0, ""},
    {"CW_ANNU", morse::CW_ANNU, 6, "C, .L, .I, .I, .I, .I"},
    {"CW_PAR_ADDR", morse::CW_PAR_ADDR, 1, ".I"},
    {"OUT_P", morse::OUT_P, 2, "I,I"},
};

const FoxTable kTable = {nullptr, static_cast<int16_t>(sizeof kFunctions / sizeof kFunctions[0]),
                         kFunctions};

}  // namespace

FOX_DEFINE_DISPATCH(kTable)

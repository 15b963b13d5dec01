// A library whose load routine raises a user error.
#include "foxlib.hpp"

namespace {
void onLoad(FoxParamBlock *) { fox::raiseUserError("cannot start: no device"); }
void hello(FoxParamBlock *) { fox::returnText("hello"); }
const FoxInfo kFunctions[] = {{"HELLO", hello, 0, ""}, {"CALLONLOAD", onLoad, FOX_CALLONLOAD, ""}};
const FoxTable kTable = {nullptr, 2, kFunctions};
}  // namespace

FOX_DEFINE_DISPATCH(kTable)

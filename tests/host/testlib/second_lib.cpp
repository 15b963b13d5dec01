// A second small library, to load beside the test library.
#include "foxlib.hpp"

namespace {
void hello(FoxParamBlock *) { fox::returnText("second"); }
// Calls back into the first library by name through the host.
void viaHost(FoxParamBlock *pb) {
  const fox::HostValue v = fox::evaluate(fox::Params(pb).text(0));
  fox::returnText(v.type == 'C' ? v.text : "not text");
}
const FoxInfo kFunctions[] = {{"SECOND_HELLO", hello, 0, ""}, {"VIA_HOST", viaHost, 1, "C"}};
const FoxTable kTable = {nullptr, 2, kFunctions};
}  // namespace

FOX_DEFINE_DISPATCH(kTable)

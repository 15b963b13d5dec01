// A library whose function table has a type letter the host does not know.
#include "foxext.h"

namespace {
void nothing(FoxParamBlock *) {}
const FoxInfo kFunctions[] = {{"GOOD", nothing, 1, "C"}, {"BAD", nothing, 1, "X"}};
const FoxTable kTable = {nullptr, 2, kFunctions};
}  // namespace

extern "C" __attribute__((visibility("default"))) void DispatchAPI(FoxRequest *r) {
  r->status = 0;
  if (r->code == FOX_REQ_STARTUP || r->code == FOX_REQ_TABLE) {
    r->table = &kTable;
    r->version = FOX_INTERFACE_VERSION;
  }
}

// A library whose start-up reports a failure.
#include "foxext.h"

extern "C" __attribute__((visibility("default"))) void DispatchAPI(FoxRequest *r) {
  r->status = r->code == FOX_REQ_STARTUP ? 7 : 1;
}

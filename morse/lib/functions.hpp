// The host-callable functions of the library, one per name in its function table.
#pragma once

#include "foxext.h"

namespace morse {

void CALLONLOAD(FoxParamBlock *params);
void CW_WPM(FoxParamBlock *params);
void CW_WEIGHT(FoxParamBlock *params);
void CW_FARNSWORTH(FoxParamBlock *params);
void CW_SPEEDADJ(FoxParamBlock *params);
void CW_IEADJ(FoxParamBlock *params);
void CW_ICADJ(FoxParamBlock *params);
void CW_IWADJ(FoxParamBlock *params);
void CW_PAR_ADDR(FoxParamBlock *params);
void OUT_P(FoxParamBlock *params);
void CW_SEND(FoxParamBlock *params);
void CW_KBD(FoxParamBlock *params);
void CW_PAUSED(FoxParamBlock *params);
void CW_ANNU(FoxParamBlock *params);

}  // namespace morse

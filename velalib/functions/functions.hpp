// The host-callable functions of velalib, one per name of the function table. Each reads its
// parameter block and sets at most one result through the host's return services.
#pragma once

#include "foxext.h"

namespace velalib::entry {

// Tagged strings, item lists, wildcards, text to number.
void MAKE_TAG(FoxParamBlock *block);
void TAG_VAL(FoxParamBlock *block);
void TAG_FLD(FoxParamBlock *block);
void GET_ITEM(FoxParamBlock *block);
void wild_card(FoxParamBlock *block);
void val_(FoxParamBlock *block);

// Conversions and timing.
void DEC_(FoxParamBlock *block);
void HEX_(FoxParamBlock *block);
void STOD(FoxParamBlock *block);
void cstr(FoxParamBlock *block);
void str_asc(FoxParamBlock *block);
void adj_360(FoxParamBlock *block);
void DELAY_MS(FoxParamBlock *block);

// Host windows and objects.
void main_hwnd(FoxParamBlock *block);
void get_hwnd(FoxParamBlock *block);
void get_wh(FoxParamBlock *block);
void get_client_wh(FoxParamBlock *block);
void w_putstr(FoxParamBlock *block);
void NEW_PROP(FoxParamBlock *block);

// Files.
void file_sel(FoxParamBlock *block);
void VER_GETFILEVERSIONINFO(FoxParamBlock *block);

}  // namespace velalib::entry

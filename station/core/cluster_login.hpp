#pragma once

#include <string_view>

// Log-in prompts of DX cluster nodes. Nodes end their prompt without a line end ("login: ",
// "Please enter your call: ", "Password: "), so the unfinished text after the last line end is
// what is tested.

namespace orbelle::station {

// True for a prompt asking for the call sign: the text ends, blanks aside, with ":" or ">" and
// its last line mentions "login" or "call" (ASCII case ignored).
bool isCallPrompt(std::string_view pending);

// True for a prompt asking for a password ("password:", "Password: ").
bool isPasswordPrompt(std::string_view pending);

}  // namespace orbelle::station

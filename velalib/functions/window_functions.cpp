// main_hwnd, get_hwnd, get_wh, get_client_wh, w_putstr and NEW_PROP: host windows and objects
// through the host's own services.
#include <string>

#include "conversions.hpp"
#include "foxlib.hpp"
#include "functions.hpp"
#include "texts.hpp"

namespace velalib::entry {

namespace {
constexpr int32_t kObjectWindow = 0;
constexpr int32_t kObjectClientArea = 16;
}  // namespace

void main_hwnd(FoxParamBlock *) {
  fox::returnInteger(fox::systemWindow(fox::mainWindow()), kWidthHandle);
}

void get_hwnd(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnInteger(fox::systemWindow(fox::objectWindow(params.object(0), kObjectWindow)),
                     kWidthHandle);
}

void get_wh(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnInteger(fox::objectWindow(params.object(0), kObjectWindow), kWidthHandle);
}

void get_client_wh(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnInteger(fox::objectWindow(params.object(0), kObjectClientArea), kWidthHandle);
}

void w_putstr(FoxParamBlock *block) {
  const fox::Params params(block);
  const int32_t window = params.integer(0);
  // The output position moves only when both positions are passed: row from the fourth
  // argument, column from the third.
  if (params.count() == 4 && params.has(2) && params.has(3)) {
    fox::windowMove(window, params.integer(3), params.integer(2));
  }
  fox::windowPut(window, untilNul(params.text(1)));
}

void NEW_PROP(FoxParamBlock *block) {
  const fox::Params params(block);
  const std::string name(untilNul(params.text(1)));
  FoxServiceArgs args{};
  args.code = FOX_SET_PROPERTY;
  args.a = static_cast<int32_t>(params.object(0));
  args.name = name.c_str();
  args.value = params.raw(2);
  args.b = 1;  // add the property when the object does not have it
  fox::callHost(args);
  fox::returnInteger(args.result, kWidthHandle);
}

}  // namespace velalib::entry

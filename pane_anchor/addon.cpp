// The Node-API glue: argument kinds in, plain values out. Each load of the
// module opens its own backend, handed to its functions as their data and
// closed when the last of them is collected or the runtime ends.
#define NAPI_VERSION 8
#include <napi.h>

#include <array>
#include <memory>
#include <span>

#include "pane_anchor/anchor_arguments.h"
#include "pane_anchor/window_anchor.h"
#include "platform/module_backend.h"

namespace tessary::anchor {

namespace {

#if defined(__APPLE__)
constexpr const char* kPlatformName = "darwin";
#else
constexpr const char* kPlatformName = "linux";
#endif

struct ModuleState {
  std::unique_ptr<PlatformBackend> backend;
};

Platform& platformOf(const Napi::CallbackInfo& info) {
  return static_cast<ModuleState*>(info.Data())->backend->platform();
}

ArgumentKind kindOf(const Napi::Value& value) {
  if (value.IsBuffer()) return ArgumentKind::buffer;
  if (value.IsNumber()) return ArgumentKind::number;
  return ArgumentKind::other;
}

// Throws the signature as a TypeError unless the arguments fit; the call
// then returns undefined.
void checkArguments(const Napi::CallbackInfo& info, const Signature& signature) {
  std::array<ArgumentKind, 2> kinds{};
  const size_t count = std::min(info.Length(), kinds.size());
  for (size_t i = 0; i < count; ++i)
    kinds[i] = kindOf(info[i]);
  if (!argumentsFit(std::span(kinds.data(), count), signature)) {
    throw Napi::TypeError::New(info.Env(), std::string(signature.typeErrorMessage));
  }
}

// The handle's bytes: everything the view holds, whatever its element type
// (its byte length).
std::span<const uint8_t> handleBytes(const Napi::CallbackInfo& info) {
  void* data = nullptr;
  size_t length = 0;
  if (napi_get_buffer_info(info.Env(), info[0], &data, &length) != napi_ok) {
    throw Napi::Error::New(info.Env());
  }
  if (length == 0) return {};
  return {static_cast<const uint8_t*>(data), length};
}

Napi::Value PinAbove(const Napi::CallbackInfo& info) {
  checkArguments(info, kPinAboveSignature);
  const uint32_t target = toUint32(info[1].As<Napi::Number>().DoubleValue());
  return Napi::Boolean::New(info.Env(), pinAbove(platformOf(info), handleBytes(info), target));
}

Napi::Value SetWindowLevelNormal(const Napi::CallbackInfo& info) {
  checkArguments(info, kSetWindowLevelNormalSignature);
  return Napi::Boolean::New(info.Env(), setWindowLevelNormal(platformOf(info), handleBytes(info)));
}

Napi::Value GetWindowNumber(const Napi::CallbackInfo& info) {
  checkArguments(info, kGetWindowNumberSignature);
  const int64_t number = getWindowNumber(platformOf(info), handleBytes(info));
  return Napi::Number::New(info.Env(), static_cast<double>(number));
}

Napi::Value DescribeZOrder(const Napi::CallbackInfo& info) {
  checkArguments(info, kDescribeZOrderSignature);
  const ZOrderDescription description = describeZOrder(platformOf(info), handleBytes(info));
  Napi::Env env = info.Env();
  Napi::Object result = Napi::Object::New(env);
  result.Set("ok", Napi::Boolean::New(env, description.ok));
  if (!description.ok) return result;
  result.Set("worldWindowNumber", Napi::Number::New(env, double(description.windowNumber)));
  result.Set("worldWindowLevel", Napi::Number::New(env, double(description.windowLevel)));
  result.Set("worldIndexInOnScreenList", Napi::Number::New(env, double(description.place.index)));
  const std::vector<WindowAbove>& above = description.place.windowsAbove;
  Napi::Array windowsAbove = Napi::Array::New(env, above.size());
  for (size_t i = 0; i < above.size(); ++i) {
    Napi::Object window = Napi::Object::New(env);
    window.Set("windowNumber", Napi::Number::New(env, double(above[i].windowNumber)));
    window.Set("owner", Napi::String::New(env, above[i].owner));
    window.Set("layer", Napi::Number::New(env, double(above[i].layer)));
    windowsAbove.Set(static_cast<uint32_t>(i), window);
  }
  result.Set("windowsAbove", windowsAbove);
  return result;
}

Napi::Object Init(Napi::Env env, Napi::Object exports) {
  auto opened = openModuleBackend();
  if (auto* problem = std::get_if<std::string>(&opened)) throw Napi::Error::New(env, *problem);
  auto state = std::make_shared<ModuleState>(
      ModuleState{std::move(std::get<std::unique_ptr<PlatformBackend>>(opened))});
  // Every function keeps the backend open for as long as it lives itself,
  // whatever becomes of the exports object.
  auto exportFunction = [&](const char* name, Napi::Value (*callback)(const Napi::CallbackInfo&)) {
    auto* held = new std::shared_ptr<ModuleState>(state);
    Napi::Function function = Napi::Function::New(env, callback, name, held->get());
    function.AddFinalizer([](Napi::Env, std::shared_ptr<ModuleState>* done) { delete done; }, held);
    exports.Set(name, function);
  };
  exportFunction("pinAbove", PinAbove);
  exportFunction("setWindowLevelNormal", SetWindowLevelNormal);
  exportFunction("getWindowNumber", GetWindowNumber);
  exportFunction("describeZOrder", DescribeZOrder);
  exports.Set("platform", Napi::String::New(env, kPlatformName));
  return exports;
}

}  // namespace

}  // namespace tessary::anchor

namespace {
Napi::Object initModule(Napi::Env env, Napi::Object exports) {
  return tessary::anchor::Init(env, exports);
}
}  // namespace

NODE_API_MODULE(pane_anchor, initModule)

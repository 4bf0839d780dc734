// The host application's views and their windows ("hostViews").
#include <algorithm>
#include <charconv>
#include <map>

#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

namespace {

// "0x" and 1 to 16 hex digits, not zero.
std::optional<uintptr_t> viewAddress(const std::string& text) {
  if (text.size() < 3 || text.size() > 18 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return std::nullopt;
  }
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data() + 2, end, value, 16);
  if (error != std::errc() || stop != end || value == 0) return std::nullopt;
  return static_cast<uintptr_t>(value);
}

}  // namespace

void SceneLoader::loadHostViews(const json& value) {
  static_assert(sizeof(uintptr_t) == 8, "view addresses are 64-bit");
  if (!value.is_array()) fail("must be a list of host views");
  HostViewState& host = state_.hostViews;
  std::map<int64_t, size_t> listedWindows;  // window number -> host window
  for (size_t i = 0; i < value.size(); ++i) {
    PathScope item(path_, i);
    expectObject(value[i], "a host view");
    std::optional<uintptr_t> address;
    bool windowGiven = false;
    std::optional<size_t> window;
    for (const auto& [key, item] : value[i].items()) {
      PathScope scope(path_, key);
      if (key == "comment") {
        text(item);
      } else if (key == "address") {
        address = viewAddress(text(item));
        if (!address) fail("must be a view address, \"0x\" and 1 to 16 hex digits, not zero");
        if (host.views.contains(*address)) fail("the address is used by two views");
      } else if (key == "window") {
        windowGiven = true;
        if (item.is_null()) continue;
        if (item.is_number()) {
          const int64_t number = integer(item);
          auto listed = std::find_if(state_.windows.begin(), state_.windows.end(),
                                     [&](const WindowRecord& w) { return w.number == number; });
          if (number < 1 || listed == state_.windows.end()) {
            fail(
                "names no window of the window list (an object gives a window the list does "
                "not show)");
          }
          auto [known, added] = listedWindows.emplace(number, host.windows.size());
          if (added) {
            auto layer = listed->entry.find("kCGWindowLayer");
            std::optional<int64_t> level =
                layer == listed->entry.end() ? std::nullopt : layer->second.asInteger();
            host.windows.push_back(HostWindowRecord{number, level.value_or(0)});
          }
          window = known->second;
          continue;
        }
        expectObject(item, "a window number, null or {\"number\", \"level\"}");
        HostWindowRecord record;
        for (const auto& [windowKey, field] : item.items()) {
          PathScope inner(path_, windowKey);
          if (windowKey == "number") {
            record.number = integer(field);
            if (std::any_of(state_.windows.begin(), state_.windows.end(),
                            [&](const WindowRecord& w) { return w.number == record.number; })) {
              fail("is a window of the window list: give the window by its number instead");
            }
          } else if (windowKey == "level") {
            record.level = integer(field);
          } else {
            failUnknownKey(windowKey, "number, level");
          }
        }
        window = host.windows.size();
        host.windows.push_back(record);
      } else {
        failUnknownKey(key, "address, window, comment");
      }
    }
    if (!address) fail("a host view needs an address");
    if (!windowGiven) fail("a host view needs a window (a window number, an object or null)");
    host.views.emplace(*address, window);
  }
}

}  // namespace tessary::fake

#include "pane-scout/window_entry.h"

#include <cmath>

#include "common/unicode.h"
#include "platform/window_description.h"

namespace tessary::panescout {

namespace {

bool truncatesIntoInt64(double value) {
  return std::isfinite(value) && std::trunc(value) >= -9223372036854775808.0 &&
         std::trunc(value) < 9223372036854775808.0;
}

}  // namespace

std::optional<WindowEntry> windowEntryFrom(const PlistValue& description) {
  std::optional<int32_t> pid = windowOwnerPid(description);
  if (!pid) return std::nullopt;
  const std::string* owner = windowText(description, windowkey::ownerName);
  if (!owner) return std::nullopt;
  std::optional<Rect> bounds = windowBounds(description);
  if (!bounds) return std::nullopt;
  for (double value : {bounds->x, bounds->y, bounds->w, bounds->h}) {
    if (!truncatesIntoInt64(value)) return std::nullopt;
  }
  const std::string* title = windowText(description, windowkey::name);
  WindowEntry entry;
  entry.pid = *pid;
  entry.cgWindowId = windowNumber(description).value_or(0);
  entry.owner = *owner;
  if (title) entry.title = std::string(trimWhitespaceAndNewlines(*title));
  entry.x = bounds->x;
  entry.y = bounds->y;
  entry.w = bounds->w;
  entry.h = bounds->h;
  entry.layer = windowLayer(description).value_or(0);
  return entry;
}

std::optional<std::vector<WindowEntry>> windowEntriesFrom(const PlistArray& list) {
  if (!isListOfDictionaries(list)) return std::nullopt;
  std::vector<WindowEntry> entries;
  entries.reserve(list.size());
  for (const PlistValue& description : list) {
    if (std::optional<WindowEntry> entry = windowEntryFrom(description)) {
      entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

std::optional<std::vector<WindowEntry>> readWindowEntries(WindowServer& windowServer) {
  std::optional<PlistArray> list =
      windowServer.copyWindowInfo(kWindowListOptions, windowlist::nullWindowId);
  if (!list) return std::nullopt;
  return windowEntriesFrom(*list);
}

}  // namespace tessary::panescout

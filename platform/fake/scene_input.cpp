// The scene's "input" section: the input timeline and the access answer.
#include <cmath>
#include <limits>
#include <string>

#include "platform/fake/scene_loader.h"

namespace tessary::fake {

using nlohmann::json;

namespace {
constexpr uint16_t kEscapeKey = 53;
constexpr uint32_t kLeftButton = 0;
constexpr uint64_t kControlMask = 0x40000;
constexpr uint64_t kShiftMask = 0x20000;
// CGMouseButton numbers the platform tracks.
constexpr int64_t kHighestButton = 31;
}  // namespace

void SceneLoader::loadInput(const json& value) {
  expectObject(value, "the input section");
  InputTimeline& timeline = state_.inputTimeline;
  for (const auto& [key, item] : value.items()) {
    PathScope scope(path_, key);
    if (key == "comment") {
      text(item);
    } else if (key == "listenEventAccess") {
      int64_t access = integer(item);
      if (access < 0 || access > std::numeric_limits<uint32_t>::max()) {
        fail("must be an unsigned 32-bit number (0 granted, 1 denied, 2 not yet determined)");
      }
      timeline.listenEventAccess = static_cast<uint32_t>(access);
    } else if (key == "end") {
      double end = number(item);
      if (!(end >= 0 && end <= kLongestInputTimelineSeconds)) {
        fail("must be between 0 and 600 seconds");
      }
      timeline.end = end;
    } else if (key == "timeline") {
      if (!item.is_array()) fail("must be a list of timeline entries");
      InputSnapshot snapshot;
      double previous = 0;
      for (size_t i = 0; i < item.size(); ++i) {
        PathScope entry(path_, i);
        expectObject(item[i], "a timeline entry");
        auto at = item[i].find("at");
        if (at == item[i].end()) fail("a timeline entry needs \"at\" (seconds since the start)");
        double time;
        {
          PathScope atScope(path_, "at");
          time = number(*at);
          if (!(time >= 0 && time <= kLongestInputTimelineSeconds)) {
            fail("must be between 0 and 600 seconds");
          }
          if (time < previous) fail("comes before the entry above it");
        }
        previous = time;
        loadInputEntry(item[i], snapshot);
        timeline.entries.emplace_back(time, snapshot);
      }
    } else {
      failUnknownKey(key, "listenEventAccess, timeline, end, comment");
    }
  }
}

// Changes `snapshot` by one entry. The raw forms (flags, keys, buttons) are
// applied before the named ones (control, shift, escape, leftButton), so the
// named ones win where both speak of the same thing.
void SceneLoader::loadInputEntry(const json& object, InputSnapshot& snapshot) {
  auto setMember = [](auto& set, auto member, bool down) {
    if (down) {
      set.insert(member);
    } else {
      set.erase(member);
    }
  };
  auto setBit = [&](uint64_t mask, bool down) {
    snapshot.flags = down ? (snapshot.flags | mask) : (snapshot.flags & ~mask);
  };
  auto numberedStates = [&](const json& value, int64_t highest, auto&& apply) {
    expectObject(value, "an object of numbers to true or false");
    for (const auto& [number, down] : value.items()) {
      PathScope scope(path_, number);
      int64_t code = -1;
      if (!number.empty() && number.size() <= 5 &&
          number.find_first_not_of("0123456789") == std::string::npos) {
        code = std::stoll(number);
      }
      if (code < 0 || code > highest) {
        fail("is not a number from 0 to " + std::to_string(highest));
      }
      apply(code, boolean(down));
    }
  };

  for (const char* raw : {"flags", "keys", "buttons"}) {
    auto it = object.find(raw);
    if (it == object.end()) continue;
    PathScope scope(path_, raw);
    if (std::string_view(raw) == "flags") {
      // CGEventFlags: all 64 bits.
      if (it->is_number_unsigned()) {
        snapshot.flags = it->get<uint64_t>();
      } else if (integer(*it) < 0) {
        fail("must not be negative");
      }
    } else if (std::string_view(raw) == "keys") {
      numberedStates(*it, std::numeric_limits<uint16_t>::max(), [&](int64_t code, bool down) {
        setMember(snapshot.keysDown, static_cast<uint16_t>(code), down);
      });
    } else {
      numberedStates(*it, kHighestButton, [&](int64_t code, bool down) {
        setMember(snapshot.buttonsDown, static_cast<uint32_t>(code), down);
      });
    }
  }
  for (const auto& [key, value] : object.items()) {
    PathScope scope(path_, key);
    if (key == "at" || key == "flags" || key == "keys" || key == "buttons") continue;
    if (key == "comment") {
      text(value);
    } else if (key == "control") {
      setBit(kControlMask, boolean(value));
    } else if (key == "shift") {
      setBit(kShiftMask, boolean(value));
    } else if (key == "escape") {
      setMember(snapshot.keysDown, kEscapeKey, boolean(value));
    } else if (key == "leftButton") {
      setMember(snapshot.buttonsDown, kLeftButton, boolean(value));
    } else if (key == "pointer") {
      if (value.is_null()) {
        snapshot.eventFails = true;
        continue;
      }
      if (!value.is_array() || value.size() != 2) {
        fail("must be [x, y] (numbers, or \"nan\", \"inf\", \"-inf\"), or null: no event");
      }
      Point point;
      {
        PathScope x(path_, size_t{0});
        point.x = inputCoordinate(value[0]);
      }
      {
        PathScope y(path_, size_t{1});
        point.y = inputCoordinate(value[1]);
      }
      snapshot.pointer = point;
      snapshot.eventFails = false;
    } else {
      failUnknownKey(key,
                     "at, flags, control, shift, keys, escape, buttons, leftButton, pointer, "
                     "comment");
    }
  }
}

// JSON has no NaN or infinity; a scene names them to show what the sampling
// does with a location the event system should never give.
double SceneLoader::inputCoordinate(const json& value) const {
  if (value.is_string()) {
    const std::string& name = value.get_ref<const std::string&>();
    if (name == "nan") return std::numeric_limits<double>::quiet_NaN();
    if (name == "inf") return std::numeric_limits<double>::infinity();
    if (name == "-inf") return -std::numeric_limits<double>::infinity();
    fail("must be a number, \"nan\", \"inf\" or \"-inf\"");
  }
  return number(value);
}

}  // namespace tessary::fake

#include "platform/fake/scene_json.h"

#include <cctype>

namespace tessary::fake {

using nlohmann::json;

namespace {

bool isPlainKey(std::string_view key) {
  if (key.empty()) return false;
  for (char c : key) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$') return false;
  }
  return true;
}

struct DuplicateKey {
  std::string message;
};

// Follows the parser's events to know where it is, and remembers the keys of
// every open object.
class DuplicateKeyCheck {
 public:
  bool operator()(int /*depth*/, json::parse_event_t event, json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start:
        frames_.push_back(Frame{false, {}, 0, {}});
        break;
      case json::parse_event_t::array_start:
        frames_.push_back(Frame{true, {}, 0, {}});
        break;
      case json::parse_event_t::key: {
        Frame& frame = frames_.back();
        std::string key = parsed.get<std::string>();
        for (const std::string& seen : frame.keys) {
          if (seen == key) {
            frame.key = key;
            throw DuplicateKey{where() + "key " + quotedText(key) + " is given twice"};
          }
        }
        frame.keys.push_back(key);
        frame.key = std::move(key);
        break;
      }
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        frames_.pop_back();
        elementDone();
        break;
      case json::parse_event_t::value:
        elementDone();
        break;
    }
    return true;
  }

 private:
  struct Frame {
    bool isArray;
    std::string key;
    size_t index;
    std::vector<std::string> keys;
  };

  void elementDone() {
    if (!frames_.empty() && frames_.back().isArray) ++frames_.back().index;
  }

  // The path of the object holding the repeated key.
  std::string where() const {
    ScenePath path;
    for (size_t i = 0; i + 1 < frames_.size(); ++i) {
      if (frames_[i].isArray) {
        path.push(frames_[i].index);
      } else {
        path.push(frames_[i].key);
      }
    }
    std::string text = path.text();
    return text == "scene" ? "" : text + ": ";
  }

  std::vector<Frame> frames_;
};

}  // namespace

std::variant<json, std::string> parseSceneJson(std::string_view text) {
  DuplicateKeyCheck check;
  try {
    return json::parse(text.begin(), text.end(), std::ref(check));
  } catch (const DuplicateKey& duplicate) {
    return duplicate.message;
  } catch (const json::exception& error) {
    // "[json.exception.parse_error.101] parse error at line 2, column 3: ..."
    std::string message = error.what();
    if (size_t end = message.find("] ");
        message.starts_with("[json.") && end != std::string::npos) {
      message.erase(0, end + 2);
    }
    return "not valid JSON: " + message;
  }
}

std::string ScenePath::text() const {
  if (segments_.empty()) return "scene";
  std::string text;
  for (const Segment& segment : segments_) {
    if (segment.isIndex) {
      text += "[" + std::to_string(segment.index) + "]";
    } else if (isPlainKey(segment.key)) {
      if (!text.empty()) text += ".";
      text += segment.key;
    } else {
      text += "[" + quotedText(segment.key) + "]";
    }
  }
  return text;
}

std::string ScenePath::parentText() const {
  ScenePath parent = *this;
  if (!parent.segments_.empty()) parent.segments_.pop_back();
  return parent.text();
}

std::string quotedText(std::string_view text) {
  return json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace tessary::fake

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

// Reads the scene once without building anything, to find keys given twice
// (nlohmann keeps the last silently) and to word syntax errors; the document
// is then built by the plain parser. (The parser's callback form would do
// both at once but scans a whole list at the end of each of its objects,
// which is quadratic in long lists.)
class SceneChecker : public nlohmann::json_sax<json> {
 public:
  std::string problem;

  bool null() override { return valueDone(); }
  bool boolean(bool) override { return valueDone(); }
  bool number_integer(number_integer_t) override { return valueDone(); }
  bool number_unsigned(number_unsigned_t) override { return valueDone(); }
  bool number_float(number_float_t, const string_t&) override { return valueDone(); }
  bool string(string_t&) override { return valueDone(); }
  bool binary(binary_t&) override { return valueDone(); }
  bool start_object(std::size_t) override {
    frames_.push_back(Frame{false, {}, 0, {}});
    return true;
  }
  bool key(string_t& key) override {
    Frame& frame = frames_.back();
    for (const std::string& seen : frame.keys) {
      if (seen == key) {
        problem = where() + "key " + quotedText(key) + " is given twice";
        return false;
      }
    }
    frame.keys.push_back(key);
    frame.key = key;
    return true;
  }
  bool end_object() override {
    frames_.pop_back();
    return valueDone();
  }
  bool start_array(std::size_t) override {
    frames_.push_back(Frame{true, {}, 0, {}});
    return true;
  }
  bool end_array() override {
    frames_.pop_back();
    return valueDone();
  }
  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception& error) override {
    // "[json.exception.parse_error.101] parse error at line 2, column 3: ..."
    std::string message = error.what();
    if (size_t end = message.find("] ");
        message.starts_with("[json.") && end != std::string::npos) {
      message.erase(0, end + 2);
    }
    problem = "not valid JSON: " + message;
    return false;
  }

 private:
  struct Frame {
    bool isArray;
    std::string key;
    size_t index;
    std::vector<std::string> keys;
  };

  bool valueDone() {
    if (!frames_.empty() && frames_.back().isArray) ++frames_.back().index;
    return true;
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
  SceneChecker checker;
  if (!json::sax_parse(text.begin(), text.end(), &checker)) {
    return checker.problem.empty() ? std::string("not valid JSON") : checker.problem;
  }
  json document = json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
  if (document.is_discarded()) return std::string("not valid JSON");
  return document;
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

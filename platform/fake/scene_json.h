// Reading scene text into a JSON document, with the checks nlohmann leaves
// out: a key given twice in one object is a mistake in a scene, not "the last
// one wins".
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessary::fake {

// The document, or one line saying what is wrong and where.
std::variant<nlohmann::json, std::string> parseSceneJson(std::string_view text);

// Where in the scene a value sits, for messages: applications[0].element.title
class ScenePath {
 public:
  void push(std::string_view key) { segments_.push_back(Segment{key, 0, false}); }
  void push(size_t index) { segments_.push_back(Segment{{}, index, true}); }
  void pop() { segments_.pop_back(); }
  size_t depth() const { return segments_.size(); }
  std::string text() const;
  // The path without its last segment.
  std::string parentText() const;

 private:
  struct Segment {
    std::string_view key;
    size_t index;
    bool isIndex;
  };
  std::vector<Segment> segments_;
};

// Pushes one segment for the lifetime of the scope.
class PathScope {
 public:
  PathScope(ScenePath& path, std::string_view key) : path_(path) { path_.push(key); }
  PathScope(ScenePath& path, size_t index) : path_(path) { path_.push(index); }
  ~PathScope() { path_.pop(); }
  PathScope(const PathScope&) = delete;
  PathScope& operator=(const PathScope&) = delete;

 private:
  ScenePath& path_;
};

// A key or text as it appears in a message: JSON-quoted, so that odd
// characters cannot break the line.
std::string quotedText(std::string_view text);

}  // namespace tessary::fake

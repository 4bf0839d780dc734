#include "common/json.h"

#include <algorithm>
#include <cmath>

#include "common/log_format.h"
#include "common/utf8.h"

namespace tessary {

void JsonObject::set(std::string key, JsonValue value) {
  for (auto& member : members_) {
    if (member.first == key) {
      member.second = std::move(value);
      return;
    }
  }
  members_.emplace_back(std::move(key), std::move(value));
}

const JsonValue* JsonObject::find(std::string_view key) const {
  for (const auto& member : members_) {
    if (member.first == key) return &member.second;
  }
  return nullptr;
}

namespace {

class Writer {
 public:
  Writer(std::string& out, bool pretty) : out_(out), pretty_(pretty) {}

  bool write(const JsonValue& value, int depth) {
    return std::visit([&](const auto& v) { return writeAlternative(v, depth); }, value.storage());
  }

 private:
  bool writeAlternative(std::nullptr_t, int) {
    out_ += "null";
    return true;
  }
  bool writeAlternative(bool v, int) {
    out_ += v ? "true" : "false";
    return true;
  }
  bool writeAlternative(int64_t v, int) {
    out_ += std::to_string(v);
    return true;
  }
  bool writeAlternative(double v, int) {
    if (!std::isfinite(v)) return false;
    out_ += formatShortestDouble(v);
    return true;
  }
  bool writeAlternative(const std::string& v, int) {
    appendJsonString(out_, v);
    return true;
  }
  bool writeAlternative(const JsonArray& array, int depth) {
    if (array.empty()) {
      out_ += "[]";
      return true;
    }
    out_.push_back('[');
    for (size_t i = 0; i < array.size(); ++i) {
      if (i > 0) out_.push_back(',');
      newline(depth + 1);
      if (!write(array[i], depth + 1)) return false;
    }
    newline(depth);
    out_.push_back(']');
    return true;
  }
  bool writeAlternative(const JsonObject& object, int depth) {
    if (object.empty()) {
      out_ += "{}";
      return true;
    }
    const auto& members = object.members();
    // Keys are compared as they are written, with ill-formed bytes already
    // replaced, so the printed order is ascending.
    std::vector<std::pair<std::string, const JsonValue*>> ordered;
    ordered.reserve(members.size());
    for (const auto& member : members)
      ordered.emplace_back(sanitizedUtf8(member.first), &member.second);
    if (pretty_) {
      std::stable_sort(ordered.begin(), ordered.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    out_.push_back('{');
    for (size_t i = 0; i < ordered.size(); ++i) {
      if (i > 0) out_.push_back(',');
      newline(depth + 1);
      appendJsonString(out_, ordered[i].first);
      out_ += pretty_ ? " : " : ":";
      if (!write(*ordered[i].second, depth + 1)) return false;
    }
    newline(depth);
    out_.push_back('}');
    return true;
  }

  void newline(int depth) {
    if (!pretty_) return;
    out_.push_back('\n');
    out_.append(static_cast<size_t>(depth) * 2, ' ');
  }

  std::string& out_;
  bool pretty_;
};

bool writeJson(const JsonValue& value, std::string& out, bool pretty) {
  std::string text;
  if (!Writer(text, pretty).write(value, 0)) return false;
  out = std::move(text);
  return true;
}

}  // namespace

bool writeJsonPretty(const JsonValue& value, std::string& out) {
  return writeJson(value, out, true);
}

bool writeJsonCompact(const JsonValue& value, std::string& out) {
  return writeJson(value, out, false);
}

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  size_t index = 0;
  while (index < text.size()) {
    const size_t start = index;
    const unsigned char byte = static_cast<unsigned char>(text[index]);
    // Plain ASCII needs no decoding.
    if (byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\' && byte != '/') {
      ++index;
      while (index < text.size()) {
        const unsigned char next = static_cast<unsigned char>(text[index]);
        if (next < 0x20 || next >= 0x80 || next == '"' || next == '\\' || next == '/') break;
        ++index;
      }
      out.append(text.substr(start, index - start));
      continue;
    }
    const char32_t c = decodeUtf8(text, index);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '/':
        // As the platform's writer does; either form is valid JSON.
        out += "\\/";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case kIllFormed:
        appendUtf8(out, kReplacementCharacter);
        break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out.push_back(kHex[c >> 4]);
          out.push_back(kHex[c & 0xF]);
        } else {
          out.append(text.substr(start, index - start));
        }
    }
  }
  out.push_back('"');
}

}  // namespace tessary

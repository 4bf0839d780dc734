#include "scene-census/serialize/capture_json.h"

#include <array>
#include <charconv>

#include "common/json.h"
#include "scene-census/serialize/element_fields.h"

namespace tessary {

namespace {

// Text is handed to the stream in pieces of about this size.
constexpr size_t kChunkBytes = 1 << 16;

void newline(int depth, std::string& out) {
  out.push_back('\n');
  out.append(static_cast<size_t>(depth) * 2, ' ');
}

void appendInteger(int64_t value, std::string& out) {
  std::array<char, 24> buffer;
  out.append(buffer.data(), std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr);
}

// Writes the members of one object in the order given, which must be the
// ascending order of their keys.
class ObjectWriter {
 public:
  ObjectWriter(int depth, std::string& out) : depth_(depth), out_(out) { out_.push_back('{'); }

  // Starts a member and returns where its value goes.
  std::string& key(std::string_view name) {
    if (!first_) out_.push_back(',');
    first_ = false;
    newline(depth_ + 1, out_);
    out_.push_back('"');
    out_ += name;  // keys are plain ASCII
    out_ += "\" : ";
    return out_;
  }
  void string(std::string_view name, std::string_view value) { appendJsonString(key(name), value); }
  void boolean(std::string_view name, bool value) { key(name) += value ? "true" : "false"; }
  void box(std::string_view name, const Box& box) {
    key(name).push_back('[');
    for (size_t i = 0; i < box.size(); ++i) {
      if (i) out_.push_back(',');
      newline(depth_ + 2, out_);
      appendInteger(box[i], out_);
    }
    newline(depth_ + 1, out_);
    out_.push_back(']');
  }
  void close() {
    newline(depth_, out_);
    out_.push_back('}');
  }
  int depth() const { return depth_; }

 private:
  int depth_;
  std::string& out_;
  bool first_ = true;
};

// Appends one element; hands full chunks to `flush` between elements.
template <typename Flush>
void appendElement(const UIElement& element, int depth, std::string& out, Flush& flush) {
  ObjectWriter object(depth, out);
  if (printsAppName(element)) object.string("app_name", *element.appName());
  if (element.bbox()) object.box("bbox", *element.bbox());

  std::string& children = object.key("children");
  if (element.children().empty()) {
    children += "[]";
  } else {
    children.push_back('[');
    bool first = true;
    for (const std::unique_ptr<UIElement>& child : element.children()) {
      if (!first) out.push_back(',');
      first = false;
      newline(depth + 2, out);
      appendElement(*child, depth + 2, out, flush);
      flush();
    }
    newline(depth + 1, out);
    out.push_back(']');
  }

  if (element.description()) object.string("description", *element.description());
  object.boolean("enabled", element.enabled());
  object.boolean("focused", element.focused());
  object.string("id", element.identifier());
  if (element.name()) object.string("name", *element.name());

  std::string field;
  appendPositionText(element, field);
  object.string("position", field);
  object.string("role", element.role());
  if (element.roleDescription()) object.string("role_description", *element.roleDescription());
  field.clear();
  appendSizeText(element, field);
  object.string("size", field);
  field.clear();
  if (appendValueText(element, field)) object.string("value", field);
  object.boolean("visible", element.visible());
  if (std::optional<Box> visible = printedVisibleBox(element)) object.box("visible_bbox", *visible);
  object.close();
}

}  // namespace

void appendElementJson(const UIElement& element, int depth, std::string& out) {
  auto noFlush = [] {};
  appendElement(element, depth, out, noFlush);
}

void writeCaptureJson(std::ostream& out, std::span<const std::unique_ptr<UIElement>> roots,
                      std::string_view formattedText) {
  std::string buffer;
  buffer.reserve(2 * kChunkBytes);
  auto flush = [&] {
    if (buffer.size() < kChunkBytes) return;
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    buffer.clear();
  };

  buffer += "{\n  \"elements\" : ";
  if (roots.empty()) {
    buffer += "[]";
  } else {
    buffer.push_back('[');
    bool first = true;
    for (const std::unique_ptr<UIElement>& root : roots) {
      if (!first) buffer.push_back(',');
      first = false;
      newline(2, buffer);
      appendElement(*root, 2, buffer, flush);
      flush();
    }
    newline(1, buffer);
    buffer.push_back(']');
  }
  buffer += ",\n  \"formatted_text\" : ";
  appendJsonString(buffer, formattedText);
  buffer += "\n}\n";
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  out.flush();
}

}  // namespace tessary

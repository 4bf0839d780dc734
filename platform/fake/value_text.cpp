#include "platform/fake/value_text.h"

#include <charconv>

#include "common/json.h"

namespace tessary::fake {

std::string numberText(double value) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return "?";
  return std::string(buffer, end);
}

namespace {

// Texts from the logic may hold any bytes; ill-formed UTF-8 becomes U+FFFD.
std::string quoted(const std::string& text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

std::string pair(const char* kind, double a, double b) {
  return std::string("{\"") + kind + "\":[" + numberText(a) + "," + numberText(b) + "]}";
}

}  // namespace

std::string valueText(const AXValue& value, std::string (*elementId)(const AXElement&, const void*),
                      const void* context) {
  struct Visitor {
    std::string (*elementId)(const AXElement&, const void*);
    const void* context;
    std::string operator()(const std::string& text) const { return quoted(text); }
    std::string operator()(int64_t number) const { return std::to_string(number); }
    std::string operator()(double number) const { return numberText(number); }
    std::string operator()(bool flag) const { return flag ? "true" : "false"; }
    std::string operator()(const AXPoint& point) const { return pair("point", point.x, point.y); }
    std::string operator()(const AXSize& size) const {
      return pair("size", size.width, size.height);
    }
    std::string operator()(const AXRect& rect) const {
      return "{\"rect\":[" + numberText(rect.origin.x) + "," + numberText(rect.origin.y) + "," +
             numberText(rect.size.width) + "," + numberText(rect.size.height) + "]}";
    }
    std::string operator()(const AXRange& range) const {
      return "{\"range\":[" + std::to_string(range.location) + "," + std::to_string(range.length) +
             "]}";
    }
    std::string operator()(const AXElement& element) const {
      return "{\"ref\":" + quoted(elementId(element, context)) + "}";
    }
    std::string operator()(const AXValueList& list) const {
      std::string text = "[";
      for (size_t i = 0; i < list.size(); ++i) {
        if (i) text += ",";
        text += std::visit(*this, list[i].storage());
      }
      return text + "]";
    }
    std::string operator()(const AXOtherValue& other) const {
      return "{\"other\":" + quoted(other.typeName) + "}";
    }
  };
  return std::visit(Visitor{elementId, context}, value.storage());
}

}  // namespace tessary::fake

#include "common/stable_identifier.h"

#include <algorithm>

#include "common/unicode.h"
#include "common/utf8.h"

namespace tessary {

namespace {

// This system's own offset basis (not the published FNV-1a one); every
// identifier the host has ever seen depends on it.
constexpr uint64_t kOffsetBasis = 1469598103934665603ULL;
constexpr uint64_t kPrime = 1099511628211ULL;

bool isWhitespace(char32_t c) {
  // The same set as trimWhitespaceAndNewlines and the regex class \s: the
  // Unicode White_Space property.
  return c == 0x20 || (c >= 0x09 && c <= 0x0D) || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// Every run of whitespace replaced by one space.
std::string collapsedWhitespace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool inRun = false;
  size_t index = 0;
  while (index < text.size()) {
    const unsigned char byte = static_cast<unsigned char>(text[index]);
    if (byte < 0x80) {
      ++index;
      if (isWhitespace(byte)) {
        if (!inRun) out.push_back(' ');
        inRun = true;
      } else {
        out.push_back(static_cast<char>(byte));
        inRun = false;
      }
      continue;
    }
    const size_t start = index;
    const char32_t c = decodeUtf8(text, index);
    if (c == kIllFormed) {
      appendUtf8(out, kReplacementCharacter);
      inRun = false;
    } else if (isWhitespace(c)) {
      if (!inRun) out.push_back(' ');
      inRun = true;
    } else {
      out.append(text, start, index - start);
      inRun = false;
    }
  }
  return out;
}

// Truncating integer division on a 64-point (or other) grid, computed wide so
// that extents of far-apart coordinates cannot overflow.
int64_t gridUnits(__int128 value, int64_t bucketSize) {
  const __int128 units = value / bucketSize;
  if (units > INT64_MAX) return INT64_MAX;
  if (units < INT64_MIN) return INT64_MIN;
  return static_cast<int64_t>(units);
}

// qx, qy, qw and qh joined by ",".
std::string gridText(__int128 x, __int128 y, __int128 width, __int128 height, int64_t bucketSize) {
  std::string out;
  out.reserve(24);
  out += std::to_string(gridUnits(x, bucketSize));
  out += ',';
  out += std::to_string(gridUnits(y, bucketSize));
  out += ',';
  out += std::to_string(std::max<int64_t>(1, gridUnits(width, bucketSize)));
  out += ',';
  out += std::to_string(std::max<int64_t>(1, gridUnits(height, bucketSize)));
  return out;
}

}  // namespace

uint64_t fnv1a64(std::string_view text) {
  uint64_t hash = kOffsetBasis;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kPrime;
  }
  return hash;
}

std::string toBase36(uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  char buffer[16];
  size_t start = sizeof buffer;
  do {
    buffer[--start] = kDigits[value % 36];
    value /= 36;
  } while (value != 0);
  return std::string(buffer + start, sizeof buffer - start);
}

std::optional<std::string> normalizedSemanticIdentifierComponent(
    const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  const std::string_view trimmed = trimWhitespaceAndNewlines(*text);
  if (trimmed.empty()) return std::nullopt;
  return collapsedWhitespace(lowercased(trimmed));
}

std::optional<std::string> quantizedGeometryComponent(const std::optional<Box>& bbox,
                                                      const std::optional<Point>& position,
                                                      const std::optional<Size>& size,
                                                      int64_t bucketSize) {
  // A grid needs a positive bucket; anything else would divide by zero.
  if (bucketSize <= 0) return std::nullopt;
  if (bbox) {
    const auto [l, t, r, b] = *bbox;
    return gridText(l, t, static_cast<__int128>(r) - l, static_cast<__int128>(b) - t, bucketSize);
  }
  if (position && size) {
    return gridText(safeInt(position->x), safeInt(position->y), safeInt(size->width),
                    safeInt(size->height), bucketSize);
  }
  return std::nullopt;
}

std::string stableElementIdentifier(const std::string& role,
                                    const std::optional<std::string>& nativeIdentifier,
                                    const std::optional<Box>& bbox,
                                    const std::optional<Point>& position,
                                    const std::optional<Size>& size,
                                    const std::optional<std::string>& name,
                                    const std::optional<std::string>& description,
                                    const std::optional<std::string>& roleDescription) {
  std::string key;
  key.reserve(role.size() + 96);
  key += role;
  const std::string_view native =
      nativeIdentifier ? trimWhitespaceAndNewlines(*nativeIdentifier) : std::string_view();
  if (!native.empty()) {
    key += "|axid:";
    key += *nativeIdentifier;
  } else {
    bool first = true;
    for (const auto* text : {&name, &description, &roleDescription}) {
      std::optional<std::string> component = normalizedSemanticIdentifierComponent(*text);
      if (!component) continue;
      key += first ? "|semantic:" : "|";
      key += *component;
      first = false;
    }
    if (std::optional<std::string> grid = quantizedGeometryComponent(bbox, position, size, 64)) {
      key += "|grid:";
      key += *grid;
    }
  }
  std::string identifier = toBase36(fnv1a64(key));
  identifier.insert(identifier.begin(), 'e');
  return identifier;
}

}  // namespace tessary

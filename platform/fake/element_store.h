// The elements of the simulated desktop: one record per element in a vector
// indexed by number, attributes in a small per-element list keyed by interned
// attribute names. Handles (AXElement) point at a tiny shared node that names
// the record, so copying a handle never copies the element.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ax_value.h"

namespace tessary::fake {

// What one attribute (or one settable question, one write attempt) answers.
struct StoredAnswer {
  enum class Kind : uint8_t {
    value,    // success with `value`
    empty,    // success without a value
    error,    // fails with `error`
    timeout,  // -25204 after the messaging timeout has passed
  };
  Kind kind = Kind::value;
  int32_t error = axerror::success;
  AXValue value;

  static StoredAnswer of(AXValue v) {
    return StoredAnswer{Kind::value, axerror::success, std::move(v)};
  }
  static StoredAnswer failing(int32_t code) { return StoredAnswer{Kind::error, code, AXValue()}; }
  static StoredAnswer timingOut() {
    return StoredAnswer{Kind::timeout, axerror::cannotComplete, AXValue()};
  }
  static StoredAnswer nothing() { return StoredAnswer{Kind::empty, axerror::success, AXValue()}; }
};

using AttributeKey = uint32_t;

struct StoredAttribute {
  AttributeKey key;
  StoredAnswer answer;
};

// Rarely used behaviour, allocated only for the elements that have it.
struct ElementExtras {
  std::vector<std::pair<AttributeKey, StoredAnswer>> settable;
  // Per attribute, the answer of each write attempt in turn; the last one
  // repeats. An error answer of 0 is a successful write.
  std::vector<std::pair<AttributeKey, std::vector<StoredAnswer>>> setResults;
  std::vector<std::pair<AttributeKey, uint32_t>> setAttempts;
  std::vector<std::pair<std::string, StoredAnswer>> parameterized;
  std::vector<std::pair<std::string, int32_t>> actions;
  // What a batch read answers for these attributes instead of what a single
  // or ranged read answers: applications answer the two forms differently.
  std::vector<std::pair<AttributeKey, StoredAnswer>> batchAnswers;
  // Only on the system-wide element: what element-at-position answers there.
  std::optional<StoredAnswer> elementAtPositionError;
};

// The native record behind a handle.
struct ElementNode {
  const void* store = nullptr;
  uint32_t index = 0;
};

struct ElementRecord {
  std::string id;  // scene id; "#<index>" for anonymous elements
  uint64_t hash = 0;
  std::shared_ptr<const ElementNode> node;
  std::vector<StoredAttribute> attributes;
  std::unique_ptr<ElementExtras> extras;
  std::optional<int32_t> pid;
  int32_t application = -1;    // index of the owning application, -1 for none
  int32_t parent = -1;         // derived from where the element was defined
  float messagingTimeout = 0;  // seconds; 0 = not set on this element
  bool hitTestable = true;
  bool defined = false;      // false while only referred to
  bool unreachable = false;  // an application element of a process that does not exist

  ElementExtras& ensureExtras() {
    if (!extras) extras = std::make_unique<ElementExtras>();
    return *extras;
  }
};

struct TransparentStringHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

class ElementStore {
 public:
  uint32_t add();
  size_t size() const { return records_.size(); }
  ElementRecord& at(uint32_t index) { return records_[index]; }
  const ElementRecord& at(uint32_t index) const { return records_[index]; }

  // The record a handle names; nothing for a null handle or one of another
  // desktop.
  std::optional<uint32_t> indexOf(const AXElement& element) const;
  AXElement handle(uint32_t index) const;

  // Scene ids. False when the id is taken.
  bool setId(uint32_t index, std::string id);
  std::optional<uint32_t> byId(std::string_view id) const;

  AttributeKey key(std::string_view name);
  std::optional<AttributeKey> findKey(std::string_view name) const;
  std::string_view keyName(AttributeKey key) const { return keyNames_[key]; }

  const StoredAnswer* find(uint32_t index, AttributeKey key) const;
  const StoredAnswer* find(uint32_t index, std::string_view name) const;
  void set(uint32_t index, AttributeKey key, StoredAnswer answer);

 private:
  // A deque: records never move once made, and growing costs no copies.
  std::deque<ElementRecord> records_;
  std::vector<std::string> keyNames_;
  std::unordered_map<std::string, AttributeKey, TransparentStringHash, std::equal_to<>> keys_;
  std::unordered_map<std::string, uint32_t, TransparentStringHash, std::equal_to<>> ids_;
};

// The hash an element gets when the scene does not give one: FNV-1a of its id.
uint64_t defaultElementHash(std::string_view id);

}  // namespace tessary::fake

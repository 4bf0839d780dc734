#include "platform/fake/element_store.h"

namespace tessary::fake {

uint32_t ElementStore::add() {
  const uint32_t index = static_cast<uint32_t>(records_.size());
  ElementRecord& record = records_.emplace_back();
  record.node = std::make_shared<const ElementNode>(ElementNode{this, index});
  record.id = "#" + std::to_string(index);
  record.hash = defaultElementHash(record.id);
  return index;
}

std::optional<uint32_t> ElementStore::indexOf(const AXElement& element) const {
  const auto* node = static_cast<const ElementNode*>(element.native());
  if (!node || node->store != this || node->index >= records_.size()) return std::nullopt;
  return node->index;
}

AXElement ElementStore::handle(uint32_t index) const {
  const ElementRecord& record = records_[index];
  return AXElement(std::shared_ptr<const void>(record.node), record.hash);
}

bool ElementStore::setId(uint32_t index, std::string id) {
  auto [it, inserted] = ids_.emplace(id, index);
  if (!inserted) return it->second == index;
  records_[index].id = std::move(id);
  return true;
}

std::optional<uint32_t> ElementStore::byId(std::string_view id) const {
  auto it = ids_.find(id);
  if (it == ids_.end()) return std::nullopt;
  return it->second;
}

AttributeKey ElementStore::key(std::string_view name) {
  if (auto it = keys_.find(name); it != keys_.end()) return it->second;
  const auto key = static_cast<AttributeKey>(keyNames_.size());
  keyNames_.emplace_back(name);
  keys_.emplace(std::string(name), key);
  return key;
}

std::optional<AttributeKey> ElementStore::findKey(std::string_view name) const {
  auto it = keys_.find(name);
  if (it == keys_.end()) return std::nullopt;
  return it->second;
}

const StoredAnswer* ElementStore::find(uint32_t index, AttributeKey key) const {
  for (const StoredAttribute& attribute : records_[index].attributes) {
    if (attribute.key == key) return &attribute.answer;
  }
  return nullptr;
}

const StoredAnswer* ElementStore::find(uint32_t index, std::string_view name) const {
  std::optional<AttributeKey> key = findKey(name);
  return key ? find(index, *key) : nullptr;
}

void ElementStore::set(uint32_t index, AttributeKey key, StoredAnswer answer) {
  for (StoredAttribute& attribute : records_[index].attributes) {
    if (attribute.key == key) {
      attribute.answer = std::move(answer);
      return;
    }
  }
  records_[index].attributes.push_back(StoredAttribute{key, std::move(answer)});
}

uint64_t defaultElementHash(std::string_view id) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : id) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

}  // namespace tessary::fake

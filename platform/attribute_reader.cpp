#include "platform/attribute_reader.h"

#include <algorithm>

namespace tessary {

bool isListAttribute(std::string_view attribute) {
  return attribute == "AXChildren" || attribute == "AXVisibleChildren" || attribute == "AXRows";
}

namespace {

// A list attribute's answer: element references only, at most the read cap.
// A backend that hands back more than it was asked for is cut to the cap, so
// a batch answer and a sliced read agree.
std::optional<AXValue> cappedElementList(const AXValue* value) {
  if (!value) return std::nullopt;
  const AXValueList* items = value->list();
  if (!items) return std::nullopt;
  size_t count = std::min(items->size(), static_cast<size_t>(kMaxListReadCount));
  for (size_t i = 0; i < count; ++i) {
    if (!(*items)[i].element()) return std::nullopt;
  }
  if (count == items->size()) return *value;
  return AXValue(AXValueList(items->begin(), items->begin() + static_cast<ptrdiff_t>(count)));
}

std::optional<AXValue> singleAnswer(const AXResult& result) {
  if (const AXValue* value = result.get()) return *value;
  return std::nullopt;
}

}  // namespace

std::optional<AXValue> AttributeReader::elementAttribute(const AXElement& element,
                                                         std::string_view attribute) {
  if (frozen_) return std::nullopt;
  if (isListAttribute(attribute)) {
    AXResult result = accessibility_.copyAttributeValues(element, attribute, 0, kMaxListReadCount);
    noteResult(result.error);
    return cappedElementList(result.get());
  }
  AXResult result = accessibility_.copyAttributeValue(element, attribute);
  noteResult(result.error);
  return singleAnswer(result);
}

std::vector<std::optional<AXValue>> AttributeReader::elementAttributes(
    const AXElement& element, std::span<const std::string_view> attributes, ListReads lists) {
  std::vector<std::optional<AXValue>> answers(attributes.size());
  if (frozen_ || attributes.empty()) return answers;

  // The attributes that go into the batch, by position in `attributes`.
  std::vector<size_t> batched;
  std::vector<std::string_view> names;
  batched.reserve(attributes.size());
  names.reserve(attributes.size());
  for (size_t i = 0; i < attributes.size(); ++i) {
    if (lists == ListReads::ranged && isListAttribute(attributes[i])) continue;
    batched.push_back(i);
    names.push_back(attributes[i]);
  }

  bool allTimedOut = false;
  if (!names.empty()) {
    std::vector<AXResult> results = accessibility_.copyMultipleAttributeValues(element, names);
    // A batch in which every attribute timed out is one timed-out read; any
    // other answer shows the application is still there. Answers the backend
    // left out count as absent.
    allTimedOut = !results.empty();
    for (size_t k = 0; k < results.size(); ++k) {
      if (results[k].error != axerror::cannotComplete) allTimedOut = false;
      if (k >= names.size()) continue;
      answers[batched[k]] = isListAttribute(names[k]) ? cappedElementList(results[k].get())
                                                      : singleAnswer(results[k]);
    }
    noteResult(allTimedOut ? axerror::cannotComplete : axerror::success);
    // One message carries the whole batch, so an application that hangs on
    // a single attribute times out all of them. Asking one by one then
    // recovers the others, as separate reads would have; an application
    // that hangs on everything is given up on after two more tries.
    if (allTimedOut && names.size() > 1) {
      for (size_t k = 0; k < names.size(); ++k)
        answers[batched[k]] = elementAttribute(element, names[k]);
    }
  }

  for (size_t i = 0; i < attributes.size(); ++i) {
    if (!isListAttribute(attributes[i])) continue;
    // Good batch answers stand, and a timed-out batch was asked again one by
    // one already.
    if (lists == ListReads::inBatch && (answers[i] || allTimedOut)) continue;
    answers[i] = elementAttribute(element, attributes[i]);
  }
  return answers;
}

int32_t AttributeReader::setAttributeValue(const AXElement& element, std::string_view attribute,
                                           const AXValue& value) {
  if (frozen_) return axerror::cannotComplete;
  int32_t error = accessibility_.setAttributeValue(element, attribute, value);
  noteResult(error);
  return error;
}

void AttributeReader::noteResult(int32_t error) {
  if (error != axerror::cannotComplete) {
    consecutiveTimeouts_ = 0;
    return;
  }
  if (++consecutiveTimeouts_ >= kFrozenAfterConsecutiveTimeouts) frozen_ = true;
}

std::optional<AXValue> elementValue(const std::optional<AXValue>& value, AXValueKind kind) {
  if (!value) return std::nullopt;
  switch (kind) {
    case AXValueKind::point:
      if (std::optional<AXPoint> point = value->point()) return AXValue(*point);
      break;
    case AXValueKind::size:
      if (std::optional<AXSize> size = value->size()) return AXValue(*size);
      break;
    case AXValueKind::rect:
      if (std::optional<AXRect> rect = value->rect()) return AXValue(*rect);
      break;
  }
  return std::nullopt;
}

}  // namespace tessary

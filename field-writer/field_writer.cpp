#include "field-writer/field_writer.h"

#include <optional>

#include "field-writer/focus_chain.h"
#include "field-writer/value_write.h"

namespace tessary {

namespace {

int finish(std::ostream& stream, const char* line, int status) {
  stream << line << '\n' << std::flush;
  return status;
}

}  // namespace

int runFieldWriter(ProgramContext& context) {
  // Checked before anything reaches the accessibility interface.
  if (context.arguments.empty()) {
    return finish(context.err, kFieldWriterUsageLine, kFieldWriterStatusUsage);
  }
  const std::string& value = context.arguments.front();  // used as given, even empty

  Accessibility& accessibility = context.platform.accessibility;
  std::optional<AXElement> focused = fieldwriter::focusedElement(accessibility);
  if (!focused) return finish(context.err, kFieldWriterNoFocusLine, kFieldWriterStatusNoFocus);

  for (const AXElement& element :
       fieldwriter::ancestorChain(accessibility, *focused, fieldwriter::kMaxAncestors)) {
    if (fieldwriter::writeValue(context.platform, element, value)) {
      return finish(context.out, kFieldWriterOkLine, kFieldWriterStatusOk);
    }
  }
  return finish(context.err, kFieldWriterSetFailedLine, kFieldWriterStatusSetFailed);
}

}  // namespace tessary

#include "voice-scribe/transcript_lines.h"

#include "common/json.h"

namespace tessary {

std::optional<std::string> transcriptLine(std::string_view text, bool isFinal) {
  JsonObject record;
  record.set("text", std::string(text));
  record.set("isFinal", isFinal);
  std::string line;
  if (!writeJsonCompact(record, line)) return std::nullopt;
  line.push_back('\n');
  return line;
}

std::string errorLine(std::string_view message) {
  std::string line = "{\"error\":";
  appendJsonString(line, message);
  line += "}\n";
  return line;
}

void emitTranscript(std::ostream& out, std::string_view text, bool isFinal) {
  std::optional<std::string> line = transcriptLine(text, isFinal);
  if (!line) return;
  out.write(line->data(), static_cast<std::streamsize>(line->size()));
  out.flush();
}

void emitError(std::ostream& err, std::string_view message) {
  const std::string line = errorLine(message);
  err.write(line.data(), static_cast<std::streamsize>(line.size()));
  err.flush();
}

}  // namespace tessary

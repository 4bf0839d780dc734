// The lines voice-scribe prints: transcript objects on standard output and
// one-key error objects on standard error.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace tessary {

// {"text":"...","isFinal":false} and a line feed. Nothing when the record
// cannot be encoded.
std::optional<std::string> transcriptLine(std::string_view text, bool isFinal);
// {"error":"..."} and a line feed. The message is a JSON string whatever it
// holds: quotes, backslashes and control characters escaped, ill-formed
// UTF-8 replaced.
std::string errorLine(std::string_view message);

// Writes the transcript line and flushes, so the host sees it at once.
void emitTranscript(std::ostream& out, std::string_view text, bool isFinal);
// Writes the error line in one write.
void emitError(std::ostream& err, std::string_view message);

}  // namespace tessary

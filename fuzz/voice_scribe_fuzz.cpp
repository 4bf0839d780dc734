// voice-scribe's outside inputs: the command line, the audio stream however
// its reads split it, and texts that end up in its lines. Layout of an input:
// two bytes giving the length of the command line (pieces separated by NUL),
// the command line, one byte giving how many read sizes follow, the read
// sizes (one byte each), then the audio.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/unicode.h"
#include "fuzz/fuzz_check.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/speech_recording.h"
#include "platform/input_stream.h"
#include "platform/program.h"
#include "voice-scribe/locale_arguments.h"
#include "voice-scribe/transcript_lines.h"
#include "voice-scribe/voice_scribe.h"

namespace {

using namespace tessary;

std::vector<std::string> splitAtNul(std::string_view text) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\0', start);
    pieces.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

// Small reads mostly; a byte from 250 up asks for a read of 16 kB or more,
// so reads as large as the program's buffer occur too.
size_t readSize(uint8_t byte) {
  return byte < 250 ? byte + 1u : static_cast<size_t>(byte - 249) * 16384;
}

void checkLocale(const std::vector<std::string>& arguments) {
  std::optional<std::string> locale = parseLocaleIdentifier(arguments);
  if (!locale) return;
  fuzz::check(!locale->empty(), "an empty locale identifier was accepted");
  fuzz::check(trimWhitespaceAndNewlines(*locale) == *locale, "the identifier is not trimmed",
              *locale);
  std::string_view given;
  if (arguments.empty()) {
    given = kDefaultLocaleIdentifier;
  } else if (arguments.size() == 1) {
    fuzz::check(arguments[0].starts_with("--locale="), "one argument without --locale=");
    given = std::string_view(arguments[0]).substr(9);
  } else {
    fuzz::check(arguments.size() == 2 && arguments[0] == "--locale", "accepted arguments");
    given = arguments[1];
  }
  fuzz::check(trimWhitespaceAndNewlines(given) == *locale, "not the given identifier", *locale);
}

void checkLine(const std::string& line, std::string_view key, std::string_view text) {
  fuzz::check(!line.empty() && line.back() == '\n' && line.find('\n') == line.size() - 1,
              "not one line", line);
  nlohmann::json parsed = nlohmann::json::parse(line, nullptr, false);
  fuzz::check(parsed.is_object() && parsed.contains(key) && parsed[key].is_string(),
              "not a JSON object with the key", line);
  if (isValidUtf8(text)) {
    fuzz::check(parsed[key].get<std::string>() == text, "the text did not survive", line);
  }
}

void checkDictation(const std::vector<std::string>& arguments, std::vector<std::string> chunks,
                    const std::string& audio) {
  auto desktop = fake::loadSceneOrThrow(
      R"({"speech": {"events": [{"afterBytes": 3, "text": "a \"b\"\n"},
                                {"afterBytes": 5000, "text": "done", "isFinal": true},
                                {"afterEnd": 1, "error": {"domain": "d", "code": 2}}]}})");
  desktop->setRecording(false);
  std::ostringstream out, err;
  ScriptedInput in(std::move(chunks));
  ProgramContext context{arguments, {}, out, err, desktop->platform(), &in};
  const int status = runVoiceScribe(context);
  const bool usable = parseLocaleIdentifier(arguments).has_value();
  fuzz::check(status == (usable ? 0 : 1), "exit status");
  if (!usable) {
    fuzz::check(in.readCount() == 0, "audio read after a usage error");
    return;
  }
  const auto& requests = desktop->speechRecording().requests;
  fuzz::check(requests.size() == 1, "one request");
  const fake::SpeechRequestRecording& request = requests[0];
  // Up to the final result (after 5000 bytes) every whole sample arrives in
  // order; after it nothing more.
  const size_t whole = audio.size() - audio.size() % 2;
  if (whole < 5000) {
    fuzz::check(request.audio == audio.substr(0, whole), "audio lost, added or shifted");
  } else {
    fuzz::check(request.audioByteCount >= 5000 && request.audioByteCount <= whole,
                "audio count after the final result");
    fuzz::check(request.audio == audio.substr(0, request.audio.size()), "audio shifted");
  }
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    nlohmann::json parsed = nlohmann::json::parse(line, nullptr, false);
    fuzz::check(parsed.is_object() && parsed.size() == 2, "transcript line", line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.size() < 3) return 0;
  const size_t argumentLength = std::min<size_t>(
      static_cast<uint8_t>(input[0]) | static_cast<size_t>(static_cast<uint8_t>(input[1])) << 8,
      input.size() - 2);
  const std::string_view commandLine = input.substr(2, argumentLength);
  input.remove_prefix(2 + argumentLength);
  const std::vector<std::string> arguments = splitAtNul(commandLine);
  checkLocale(arguments);

  // The command line's text also stands in for a message and a transcript.
  checkLine(errorLine(commandLine), "error", commandLine);
  if (std::optional<std::string> line = transcriptLine(commandLine, true)) {
    checkLine(*line, "text", commandLine);
  }

  std::vector<size_t> sizes;
  if (!input.empty()) {
    const size_t count = std::min<size_t>(static_cast<uint8_t>(input[0]), input.size() - 1);
    for (size_t i = 1; i <= count; ++i)
      sizes.push_back(readSize(static_cast<uint8_t>(input[i])));
    input.remove_prefix(1 + count);
  }
  if (sizes.empty()) sizes.push_back(4097);
  // A little more than one full read is enough to reach every path; longer
  // streams only slow the fuzzer down.
  constexpr size_t kLongestAudio = 3 * 32 * 1024;
  const std::string audio(input.substr(0, kLongestAudio));
  std::vector<std::string> chunks;
  for (size_t offset = 0, i = 0; offset < audio.size(); ++i) {
    const size_t length = std::min(sizes[i % sizes.size()], audio.size() - offset);
    chunks.push_back(audio.substr(offset, length));
    offset += length;
  }
  checkDictation(arguments, std::move(chunks), audio);
  return 0;
}

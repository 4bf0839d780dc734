// What the simulated speech recognizer was given, for tests: every request
// with its settings and the audio appended to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tessary::fake {

// Audio bytes kept per request; the count goes on past it, so a long stream
// keeps the simulator's memory flat.
inline constexpr size_t kRecordedAudioLimit = 1 << 20;

struct SpeechRequestRecording {
  bool shouldReportPartialResults = true;  // the platform's defaults
  bool addsPunctuation = false;
  bool requiresOnDeviceRecognition = false;
  bool taskStarted = false;
  bool audioEnded = false;
  uint64_t audioByteCount = 0;  // every byte appended
  std::string audio;            // the first kRecordedAudioLimit of them, in order
  // Frames of each appended buffer, in order (while calls are recorded).
  std::vector<uint32_t> bufferFrames;
};

struct SpeechRecording {
  uint64_t authorizationRequests = 0;
  std::vector<SpeechRequestRecording> requests;  // in the order they were made
};

}  // namespace tessary::fake

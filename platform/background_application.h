// A background application with an event loop (NSApplication), the main
// dispatch queue, and standard input read off the main thread.
#pragma once

#include <functional>
#include <string_view>

#include "platform/input_stream.h"

namespace tessary {

inline constexpr int kActivationPolicyAccessory = 1;
inline constexpr int kActivationPolicyProhibited = 2;

class BackgroundApplication {
 public:
  virtual ~BackgroundApplication() = default;
  virtual void setActivationPolicy(int policy) = 0;
  virtual void activateIgnoringOtherApps() = 0;
  // Runs the event loop; `didFinishLaunching` runs on the main thread once
  // the application has launched. On macOS it never returns: termination
  // ends the process. The simulation returns once terminated.
  virtual void run(std::function<void()> didFinishLaunching) = 0;
  // Normal application termination.
  virtual void terminate() = 0;
  // dispatch_async onto the main queue: runs in the order posted.
  virtual void performOnMainQueue(std::function<void()> work) = 0;
  // Hands every read of standard input to `onData`, one call at a time, off
  // the main thread (a readability handler); empty data means end of input
  // or a read error, after which nothing more is read. macOS reads the
  // process's own standard input; the simulation reads `in`.
  virtual void readStandardInput(InputStream* in, std::function<void(std::string_view)> onData) = 0;
};

}  // namespace tessary

// The background application over NSApplication, the main dispatch queue and
// the standard-input file handle's readability handler.
#pragma once

#include <memory>

#include "platform/background_application.h"

namespace tessary::macos {

class MacApplication : public BackgroundApplication {
 public:
  MacApplication();
  ~MacApplication() override;
  void setActivationPolicy(int policy) override;
  void activateIgnoringOtherApps() override;
  void run(std::function<void()> didFinishLaunching) override;
  void terminate() override;
  void performOnMainQueue(std::function<void()> work) override;
  void readStandardInput(InputStream* in, std::function<void(std::string_view)> onData) override;

 private:
  struct Objects;
  std::unique_ptr<Objects> objects_;
};

}  // namespace tessary::macos

#include "platform/macos/without_appkit/no_appkit_services.h"

#include <utility>

namespace tessary::macos {

void NoApplication::run(std::function<void()>) {}

// Dropped at once rather than kept: nothing would ever run it.
void NoApplication::performOnMainQueue(std::function<void()>) {}

void NoApplication::readStandardInput(InputStream*, std::function<void(std::string_view)> onData) {
  if (onData) onData(std::string_view());
}

CompositorWindowId NoCompositor::createBandWindow(const BandWindowConfig&) {
  return kNoBandWindow;
}

void NoCompositor::beginTransaction() {
  openTransactions_.emplace_back();
}

// Outside a transaction there is nothing to wait for.
void NoCompositor::setTransactionCompletion(std::function<void()> completion) {
  if (openTransactions_.empty()) {
    if (completion) completion();
    return;
  }
  openTransactions_.back() = std::move(completion);
}

void NoCompositor::commitTransaction() {
  if (openTransactions_.empty()) return;
  std::function<void()> completion = std::move(openTransactions_.back());
  openTransactions_.pop_back();
  if (completion) completion();
}

}  // namespace tessary::macos

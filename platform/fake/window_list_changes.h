// How the simulated window list changes while a program runs: a timeline of
// whole window lists that take over as virtual time passes, and the optional
// effect of "AXRaise", which brings the raised window forward.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/fake/fake_desktop.h"

namespace tessary::fake {

struct WindowRecord;

// One state of the window list, current from `at` virtual seconds on.
struct WindowStage {
  double at = 0;
  std::vector<WindowRecord> windows;  // front to back
  bool fails = false;                 // every copyWindowInfo fails
};

struct WindowListChanges {
  std::vector<WindowStage> stages;  // strictly increasing `at`, all after 0
  size_t nextStage = 0;
  // A successful "AXRaise" on an accessibility window brings the entries
  // that show it to the front of their layer.
  bool raiseBringsWindowForward = false;
};

// Puts the latest stage that has begun in place of the window list; called
// whenever virtual time moves. A stage replaces the list once, so what a
// raise changed stays until the next stage begins.
void catchUpWithWindowTimeline(FakeDesktop::State& state);

// The effect of a successful "AXRaise" on `element`, when the scene asks
// for it.
void applyRaiseEffect(FakeDesktop::State& state, uint32_t element);

}  // namespace tessary::fake

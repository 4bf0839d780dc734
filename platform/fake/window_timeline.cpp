#include "platform/fake/fake_state.h"
#include "platform/fake/window_list_changes.h"

namespace tessary::fake {

void catchUpWithWindowTimeline(State& state) {
  WindowListChanges& changes = state.windowListChanges;
  bool changed = false;
  while (changes.nextStage < changes.stages.size() &&
         changes.stages[changes.nextStage].at <= state.elapsed) {
    ++changes.nextStage;
    changed = true;
  }
  if (!changed) return;
  WindowStage& stage = changes.stages[changes.nextStage - 1];
  state.windows = std::move(stage.windows);
  state.windowListFails = stage.fails;
}

}  // namespace tessary::fake

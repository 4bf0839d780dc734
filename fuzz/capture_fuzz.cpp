// Every program against a hostile desktop: bytes that load as a scene (cycles,
// refs, values of the wrong kind, huge lists, frozen applications) are
// captured by scene-census (with and without the overlay, every window of
// the application in form-tests mode, selection-only), probed by hit-probe
// and written to by field-writer. Nothing may crash or hang, and whatever
// scene-census and hit-probe print as JSON must parse.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/environment.h"
#include "field-writer/field_writer.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/window_tool_checks.h"
#include "hit-probe/hit_probe.h"
#include "pane-raise/pane_raise.h"
#include "pane-scout/pane_scout.h"
#include "platform/fake/fake_desktop.h"
#include "platform/program.h"
#include "scene-census/capture/capture_run.h"

namespace {

using namespace tessary;

struct Output {
  int status = -1;
  std::string out;
  std::string err;
};

// A fresh desktop for each program, so one program's writes, virtual time and
// frozen applications do not hide the next one's paths.
std::unique_ptr<fake::FakeDesktop> load(std::string_view scene) {
  auto loaded = fake::FakeDesktop::fromSceneText(scene);
  if (std::holds_alternative<std::string>(loaded)) return nullptr;
  return std::move(std::get<std::unique_ptr<fake::FakeDesktop>>(loaded));
}

Output runOn(fake::FakeDesktop& desktop, ProgramFunction program,
             std::vector<std::string> arguments, Environment environment) {
  std::ostringstream out, err;
  ProgramContext context{std::move(arguments), std::move(environment), out, err,
                         desktop.platform()};
  Output output;
  output.status = program(context);
  output.out = out.str();
  output.err = err.str();
  return output;
}

Output run(ProgramFunction program, std::string_view scene, std::vector<std::string> arguments,
           Environment environment) {
  std::unique_ptr<fake::FakeDesktop> desktop = load(scene);
  return runOn(*desktop, program, std::move(arguments), std::move(environment));
}

nlohmann::json parsedObject(const std::string& text, std::string_view what) {
  nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
  fuzz::check(!parsed.is_discarded() && parsed.is_object(), what, text);
  return parsed;
}

void checkCensus(const Output& census, bool selectionOnly) {
  // Nothing on standard output is allowed (an untrusted process, no target,
  // a number JSON cannot hold); anything printed is one JSON object and one
  // newline.
  if (census.out.empty()) return;
  fuzz::check(census.status == 0, "scene-census printed yet failed", census.out);
  fuzz::check(census.out.back() == '\n', "scene-census ends its object with a newline", census.out);
  nlohmann::json object = parsedObject(census.out, "scene-census printed no JSON object");
  if (selectionOnly) {
    fuzz::check(object.contains("selection_context"), "selection-only answer", census.out);
  } else {
    fuzz::check(object.contains("elements") && object["elements"].is_array(),
                "capture without its element list", census.out);
  }
}

void checkProbe(const Output& probe) {
  std::string line = probe.out;
  fuzz::check(!line.empty() && line.back() == '\n', "hit-probe prints one line", line);
  line.pop_back();
  fuzz::check(line.find('\n') == std::string::npos, "hit-probe prints one line", probe.out);
  if (line == kHitProbeNoMatchLine) return;
  nlohmann::json object = parsedObject(line, "hit-probe printed no JSON object");
  fuzz::check(object.contains("status"), "hit-probe report without status", line);
}

void checkWriter(const Output& writer) {
  // "ok" on standard output, the two failures on standard error.
  switch (writer.status) {
    case kFieldWriterStatusOk:
      fuzz::check(writer.out == std::string(kFieldWriterOkLine) + "\n", "field-writer ok line",
                  writer.out);
      return;
    case kFieldWriterStatusNoFocus:
      fuzz::check(writer.err == std::string(kFieldWriterNoFocusLine) + "\n" && writer.out.empty(),
                  "field-writer no-focus line", writer.err);
      return;
    case kFieldWriterStatusSetFailed:
      fuzz::check(writer.err == std::string(kFieldWriterSetFailedLine) + "\n" && writer.out.empty(),
                  "field-writer set-failed line", writer.err);
      return;
    default:
      fuzz::fail("field-writer status", std::to_string(writer.status));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view scene(reinterpret_cast<const char*>(data), size);
  if (!load(scene)) return 0;

  const Environment overlay{{"TESSARY_OVERLAY_EXCLUDED_PID", "900"}};
  checkCensus(run(runSceneCensus, scene, {}, overlay), false);
  checkCensus(run(runSceneCensus, scene, {}, {}), false);
  // Form-tests mode captures every window of the target's application.
  checkCensus(run(runSceneCensus, scene, {}, {{"FORM_TESTS_MODE", "true"}}), false);
  Environment selection = overlay;
  selection["TESSARY_OVERLAY_SELECTION_ONLY"] = "1";
  checkCensus(run(runSceneCensus, scene, {}, selection), true);

  checkProbe(run(runHitProbe, scene, {"e1", "100", "100", "400", "300"}, overlay));
  checkWriter(run(runFieldWriter, scene, {"x"}, {}));

  // The window tools: the queries only read, so they share one desktop (the
  // watch, which moves virtual time, comes last); watch mode without standard
  // input answers once and returns. The raises share another.
  const Environment excluded{{"TESSARY_OVERLAY_EXCLUDED_PID", "900, 160"}};
  const std::vector<std::vector<std::string>> queries = {
      {"at", "100", "100"}, {"list-at", "100", "100"}, {"list-at", "0", "0"},
      {"bounds", "100"},    {"frontmost", "42"},       {"frontmost", "501"},
      {"active"},           {"watch", "42", "5"}};
  std::unique_ptr<fake::FakeDesktop> windows = load(scene);
  for (const std::vector<std::string>& query : queries) {
    Output scout = runOn(
        *windows, [](ProgramContext& context) { return runPaneScout(context); }, query, excluded);
    fuzz::checkScoutOutput(query[0], scout.status, scout.out, scout.err);
  }
  std::unique_ptr<fake::FakeDesktop> raises = load(scene);
  for (const std::vector<std::string>& point :
       {std::vector<std::string>{"100", "100"}, std::vector<std::string>{"0", "0"}}) {
    Output raise = runOn(*raises, runPaneRaise, point, excluded);
    fuzz::checkRaiseOutput(raise.status, raise.out, raise.err);
  }
  return 0;
}

// Captures on a real desktop against the accessibility-tree dump Python test
// agents write (pyatspi, every element's role, name, states and extents one
// call at a time). Run it through bench/live/compare, which starts the GTK
// widget factory and a 2,000-row list on a private desktop.
// Counters: D-Bus calls per element of the application (the objects the
// capture's snapshot holds) and by member, elements captured, and for the
// walks the elements walked.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/linux/atspi_calls.h"
#include "platform/linux/dbus_connection.h"
#include "platform/linux/linux_accessibility.h"
#include "platform/linux/linux_backend.h"
#include "platform/program.h"
#include "platform/window_server.h"
#include "scene-census/capture/capture_run.h"

namespace {

using namespace tessary;

Environment liveEnvironment(const std::string& targetPid) {
  Environment environment;
  for (const char* name : {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS"}) {
    if (const char* value = std::getenv(name)) environment[name] = value;
  }
  environment["TESSARY_OVERLAY_TARGET_PID"] = targetPid;
  return environment;
}

std::string appPid(size_t index) {
  const char* pids = std::getenv("TESSARY_LIVE_APP_PIDS");
  std::istringstream in(pids ? pids : "");
  std::string pid;
  for (size_t i = 0; i <= index && in >> pid;) {
    if (i++ == index) return pid;
  }
  return "";
}

size_t countElements(const nlohmann::json& elements) {
  size_t count = 0;
  if (!elements.is_array()) return count;
  for (const nlohmann::json& element : elements)
    count += 1 + countElements(element.value("children", nlohmann::json::array()));
  return count;
}

// One whole capture as the program makes it, its backend opened afresh so
// that nothing is kept from the run before.
void captureOf(benchmark::State& state, size_t app) {
  const std::string pid = appPid(app);
  if (pid.empty()) {
    state.SkipWithError("not on a live desktop (run bench/live/compare)");
    return;
  }
  Environment environment = liveEnvironment(pid);
  uint64_t calls = 0, objects = 0, captured = 0;
  std::map<std::string, uint64_t> byMember;
  // The capture's elements are counted from the first run's output, outside
  // the timed runs (parsing it costs more than a tenth of a capture).
  auto run = [&](bool countCaptured) {
    std::ostringstream out, err;
    std::unique_ptr<PlatformBackend> backend = openPlatformBackend(environment, err);
    if (!backend) return false;
    ProgramContext context{{}, environment, out, err, backend->platform()};
    if (runSceneCensus(context) != 0) return false;
    linuxdesktop::LinuxAccessibility* accessibility = linuxdesktop::linuxAccessibilityOf(*backend);
    calls = accessibility->callsSent();
    byMember = accessibility->callsByMember();
    objects = accessibility->objectsRead();
    if (countCaptured)
      captured = countElements(nlohmann::json::parse(out.str(), nullptr, false)["elements"]);
    return true;
  };
  // The first capture turns the bus's accessibility switch on and waits for
  // applications to react; later ones find it on.
  if (!run(true)) {
    state.SkipWithError("the capture failed");
    return;
  }
  for (auto _ : state) {
    if (!run(false)) state.SkipWithError("the capture failed");
  }
  state.counters["dbus_calls"] = static_cast<double>(calls);
  state.counters["app_objects"] = static_cast<double>(objects);
  state.counters["calls_per_object"] = objects ? static_cast<double>(calls) / objects : 0;
  state.counters["captured"] = static_cast<double>(captured);
  // Where the calls go, by member ("Get" is a property read).
  for (const auto& [member, count] : byMember)
    state.counters["calls." + member] = static_cast<double>(count);
}

// Opening the backend alone (display, session and accessibility buses): the
// part of a capture that is the same whatever the window holds.
void BM_OpenTheBackend(benchmark::State& state) {
  Environment environment = liveEnvironment(appPid(0));
  for (auto _ : state) {
    std::ostringstream err;
    std::unique_ptr<PlatformBackend> backend = openPlatformBackend(environment, err);
    if (!backend) state.SkipWithError("no live desktop (run bench/live/compare)");
    benchmark::DoNotOptimize(backend);
  }
}
BENCHMARK(BM_OpenTheBackend)->Unit(benchmark::kMillisecond);

// The window list and the running applications, which a capture asks for
// a few times each.
void BM_WindowList(benchmark::State& state) {
  std::ostringstream err;
  std::unique_ptr<PlatformBackend> backend = openPlatformBackend(liveEnvironment(appPid(0)), err);
  if (!backend) {
    state.SkipWithError("no live desktop (run bench/live/compare)");
    return;
  }
  for (auto _ : state) {
    auto list = backend->platform().windowServer.copyWindowInfo(windowlist::onScreenOnly, 0);
    benchmark::DoNotOptimize(list);
  }
}
BENCHMARK(BM_WindowList)->Unit(benchmark::kMillisecond);

void BM_RunningApplications(benchmark::State& state) {
  std::ostringstream err;
  std::unique_ptr<PlatformBackend> backend = openPlatformBackend(liveEnvironment(appPid(0)), err);
  if (!backend) {
    state.SkipWithError("no live desktop (run bench/live/compare)");
    return;
  }
  for (auto _ : state) {
    auto apps = backend->platform().workspace.runningApplications();
    benchmark::DoNotOptimize(apps);
  }
}
BENCHMARK(BM_RunningApplications)->Unit(benchmark::kMillisecond);

// The Python walk, timed inside the interpreter (its start-up not counted).
void pyatspiWalkOf(benchmark::State& state, size_t app) {
  const std::string pid = appPid(app);
  if (pid.empty()) {
    state.SkipWithError("not on a live desktop (run bench/live/compare)");
    return;
  }
  const char* source = std::getenv("TESSARY_SOURCE_DIR");
  std::string script = std::string(source ? source : ".") + "/bench/live/pyatspi_walk.py";
  std::string command =
      "/usr/bin/python3 " + script + " " + pid + " " + std::to_string(state.max_iterations);
  FILE* pipe = popen(command.c_str(), "r");
  std::vector<std::pair<double, double>> walks;
  double seconds = 0, elements = 0;
  while (pipe && fscanf(pipe, "%lf %lf", &seconds, &elements) == 2)
    walks.emplace_back(seconds, elements);
  if (pipe) pclose(pipe);
  if (walks.size() != static_cast<size_t>(state.max_iterations)) {
    state.SkipWithError("the pyatspi walk failed");
    return;
  }
  size_t i = 0;
  for (auto _ : state)
    state.SetIterationTime(walks[i++].first);
  state.counters["walked"] = walks.back().second;
}

// One bulk cache read of the widget factory: the least a capture can cost.
void BM_OneCacheReadOfTheWidgetFactory(benchmark::State& state) {
  using namespace linuxdesktop;
  const std::string pid = appPid(0);
  const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  std::unique_ptr<DBusConnection> sessionBus = session ? DBusConnection::open(session) : nullptr;
  std::optional<std::string> address;
  if (sessionBus) {
    address = readString(
        sessionBus
            ->call({"org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", {}}, 2000000)
            .message.get());
  }
  std::unique_ptr<DBusConnection> bus = address ? DBusConnection::open(*address) : nullptr;
  if (pid.empty() || !bus) {
    state.SkipWithError("not on a live desktop (run bench/live/compare)");
    return;
  }
  // The application's bus name, through the backend's own registry read (which
  // also switches the toolkits' caches on).
  std::ostringstream err;
  std::unique_ptr<PlatformBackend> backend = openPlatformBackend(liveEnvironment(pid), err);
  LinuxAccessibility* accessibility = backend ? linuxAccessibilityOf(*backend) : nullptr;
  std::string name;
  if (accessibility) {
    for (const auto& app : accessibility->registeredApplications()) {
      if (std::to_string(app.pid) == pid) name = app.bus;
    }
    accessibility->copyAttributeValue(accessibility->applicationElement(std::stoi(pid)), "AXRole");
  }
  if (name.empty()) {
    state.SkipWithError("the widget factory is not in the registry");
    return;
  }
  size_t items = 0;
  for (auto _ : state) {
    DBusReply reply = bus->call(cacheItemsCall(name), 5000000);
    std::optional<std::vector<AtspiItem>> read = readCacheItems(reply.message.get());
    items = read ? read->size() : 0;
    benchmark::DoNotOptimize(items);
  }
  state.counters["cached_objects"] = static_cast<double>(items);
}
BENCHMARK(BM_OneCacheReadOfTheWidgetFactory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_CAPTURE(captureOf, widget_factory, 0)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(pyatspiWalkOf, widget_factory, 0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseManualTime();
BENCHMARK_CAPTURE(captureOf, long_list, 1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(pyatspiWalkOf, long_list, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseManualTime();

BENCHMARK_MAIN();

#include "platform/macos/mac_workspace.h"

// Declarations only: the backend does not link AppKit (only frost-curtain
// does, for its own services), so AppKit is loaded on first use and its
// classes are looked up by name; a program that never asks for applications
// never loads it.
#import <AppKit/AppKit.h>
#include <dlfcn.h>

#include "platform/macos/cf_text.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {

static_assert(activation::allWindows == NSApplicationActivateAllWindows);
static_assert(activation::ignoringOtherApps == NSApplicationActivateIgnoringOtherApps);

namespace {

constexpr const char* kAppKitPath = "/System/Library/Frameworks/AppKit.framework/AppKit";

// An AppKit class by name. AppKit is loaded on the first call, and the
// shared application object created once, before anything else of AppKit is
// used. Nil when AppKit cannot be loaded.
Class appKitClass(NSString* name) {
  static const bool loaded = [] {
    if (!dlopen(kAppKitPath, RTLD_LAZY | RTLD_GLOBAL)) return false;
    [NSClassFromString(@"NSApplication") sharedApplication];
    return true;
  }();
  return loaded ? NSClassFromString(name) : nil;
}

NSWorkspace* sharedWorkspace() {
  return [appKitClass(@"NSWorkspace") sharedWorkspace];
}

// Nil when no running application has the pid (or AppKit is missing).
NSRunningApplication* runningApplicationWithPid(int32_t pid) {
  return [appKitClass(@"NSRunningApplication")
      runningApplicationWithProcessIdentifier:static_cast<pid_t>(pid)];
}

std::optional<std::string> optionalText(NSString* text) {
  if (!text) return std::nullopt;
  return utf8FromCFString((__bridge CFStringRef)text);
}

RunningApplication describe(NSRunningApplication* application) {
  RunningApplication described;
  described.pid = static_cast<int32_t>(application.processIdentifier);
  described.localizedName = optionalText(application.localizedName);
  described.bundleIdentifier = optionalText(application.bundleIdentifier);
  described.bundlePath = optionalText(application.bundleURL.path);
  return described;
}

}  // namespace

std::vector<RunningApplication> MacWorkspace::runningApplications() {
  @autoreleasepool {
    NSWorkspace* workspace = sharedWorkspace();
    NSArray<NSRunningApplication*>* applications = workspace.runningApplications;
    std::vector<RunningApplication> described;
    described.reserve(applications.count);
    for (NSRunningApplication* application in applications) {
      described.push_back(describe(application));
    }
    return described;
  }
}

std::optional<RunningApplication> MacWorkspace::frontmostApplication() {
  @autoreleasepool {
    NSWorkspace* workspace = sharedWorkspace();
    NSRunningApplication* application = workspace.frontmostApplication;
    if (!application) return std::nullopt;
    return describe(application);
  }
}

std::optional<RunningApplication> MacWorkspace::runningApplication(int32_t pid) {
  @autoreleasepool {
    NSRunningApplication* application = runningApplicationWithPid(pid);
    if (!application) return std::nullopt;
    return describe(application);
  }
}

bool MacWorkspace::activateApplication(int32_t pid, uint32_t options) {
  @autoreleasepool {
    NSRunningApplication* application = runningApplicationWithPid(pid);
    if (!application) return false;
    // The options bits of workspace.h are NSApplicationActivationOptions'.
    return [application activateWithOptions:static_cast<NSApplicationActivationOptions>(options)];
  }
}

std::unique_ptr<Workspace> makeWorkspace() {
  return std::make_unique<MacWorkspace>();
}

}  // namespace tessary::macos

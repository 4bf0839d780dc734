#include "platform/macos/mac_workspace.h"

#import <AppKit/AppKit.h>

#include "platform/macos/cf_text.h"

namespace tessary::macos {

static_assert(activation::allWindows == NSApplicationActivateAllWindows);
static_assert(activation::ignoringOtherApps == NSApplicationActivateIgnoringOtherApps);

namespace {

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
    NSArray<NSRunningApplication*>* applications = NSWorkspace.sharedWorkspace.runningApplications;
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
    NSRunningApplication* application = NSWorkspace.sharedWorkspace.frontmostApplication;
    if (!application) return std::nullopt;
    return describe(application);
  }
}

std::optional<RunningApplication> MacWorkspace::runningApplication(int32_t pid) {
  @autoreleasepool {
    NSRunningApplication* application =
        [NSRunningApplication runningApplicationWithProcessIdentifier:static_cast<pid_t>(pid)];
    if (!application) return std::nullopt;
    return describe(application);
  }
}

bool MacWorkspace::activateApplication(int32_t pid, uint32_t options) {
  @autoreleasepool {
    NSRunningApplication* application =
        [NSRunningApplication runningApplicationWithProcessIdentifier:static_cast<pid_t>(pid)];
    if (!application) return false;
    // The options bits of workspace.h are NSApplicationActivationOptions'.
    return [application activateWithOptions:static_cast<NSApplicationActivationOptions>(options)];
  }
}

}  // namespace tessary::macos

#include "platform/macos/mac_workspace.h"

#import <AppKit/AppKit.h>

#include "platform/macos/cf_text.h"

namespace tessary::macos {

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

}  // namespace tessary::macos

#include "platform/macos/ask_extension/mac_finder_sync.h"

#import <FinderSync/FinderSync.h>
#import <Foundation/Foundation.h>
#include <os/log.h>

namespace tessary::macos {

namespace {

// A URL's file-system path as UTF-8; "" when it has none (the logic drops
// those).
std::string pathOf(NSURL* url) {
  NSString* path = url.path;
  const char* bytes = path.UTF8String;
  return bytes ? std::string(bytes) : std::string();
}

NSString* stringOf(const std::string& text) {
  return [[NSString alloc] initWithBytes:text.data()
                                  length:text.size()
                                encoding:NSUTF8StringEncoding];
}

}  // namespace

void MacFinderSyncController::setDirectoryURLs(const std::vector<std::string>& directoryPaths) {
  NSMutableSet<NSURL*>* urls = [NSMutableSet setWithCapacity:directoryPaths.size()];
  for (const std::string& path : directoryPaths) {
    NSString* text = stringOf(path);
    if (text) [urls addObject:[NSURL fileURLWithPath:text isDirectory:YES]];
  }
  [FIFinderSyncController defaultController].directoryURLs = urls;
}

std::optional<std::vector<std::string>> MacFinderSyncController::selectedItemPaths() {
  NSArray<NSURL*>* urls = [[FIFinderSyncController defaultController] selectedItemURLs];
  if (!urls) return std::nullopt;
  std::vector<std::string> paths;
  paths.reserve(urls.count);
  for (NSURL* url in urls)
    paths.push_back(pathOf(url));
  return paths;
}

std::optional<std::string> MacFinderSyncController::targetedPath() {
  NSURL* url = [[FIFinderSyncController defaultController] targetedURL];
  if (!url) return std::nullopt;
  return pathOf(url);
}

std::optional<std::string> MacTaskLauncher::launch(const std::string& executablePath,
                                                   const std::vector<std::string>& arguments) {
  NSString* executable = stringOf(executablePath);
  NSMutableArray<NSString*>* list = [NSMutableArray arrayWithCapacity:arguments.size()];
  for (const std::string& argument : arguments) {
    NSString* text = stringOf(argument);
    // Paths come from NSURL as valid UTF-8; anything else would have to be
    // altered to pass, and the host must get exactly what was selected.
    if (!text) return "an argument is not valid UTF-8";
    [list addObject:text];
  }
  if (!executable) return "the executable path is not valid UTF-8";
  NSTask* task = [[NSTask alloc] init];
  task.executableURL = [NSURL fileURLWithPath:executable isDirectory:NO];
  task.arguments = list;
  NSError* error = nil;
  // Started directly with its argument vector, never through a shell; not
  // waited for.
  if ([task launchAndReturnError:&error]) return std::nullopt;
  NSString* description = error.localizedDescription;
  const char* bytes = description.UTF8String;
  return bytes ? std::string(bytes) : std::string("unknown error");
}

void MacSystemLog::write(const std::string& message) {
  // %{public}s: the message names no secret, and a redacted line would not
  // say why the launch failed.
  os_log_error(OS_LOG_DEFAULT, "%{public}s", message.c_str());
}

}  // namespace tessary::macos

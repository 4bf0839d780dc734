#include "platform/macos/appkit/mac_application.h"

#import <AppKit/AppKit.h>
#include <dispatch/dispatch.h>

@interface TessaryApplicationDelegate : NSObject <NSApplicationDelegate>
@property(nonatomic, copy) void (^didFinishLaunching)(void);
@end

@implementation TessaryApplicationDelegate
- (void)applicationDidFinishLaunching:(NSNotification*)notification {
  if (self.didFinishLaunching) self.didFinishLaunching();
}
@end

namespace tessary::macos {

// NSApplication holds its delegate weakly; this keeps it alive.
struct MacApplication::Objects {
  TessaryApplicationDelegate* delegate = nil;
};

MacApplication::MacApplication() : objects_(std::make_unique<Objects>()) {}
MacApplication::~MacApplication() = default;

void MacApplication::setActivationPolicy(int policy) {
  [[NSApplication sharedApplication]
      setActivationPolicy:static_cast<NSApplicationActivationPolicy>(policy)];
}

void MacApplication::activateIgnoringOtherApps() {
  [[NSApplication sharedApplication] activateIgnoringOtherApps:YES];
}

void MacApplication::run(std::function<void()> didFinishLaunching) {
  NSApplication* application = [NSApplication sharedApplication];
  objects_->delegate = [TessaryApplicationDelegate new];
  objects_->delegate.didFinishLaunching = ^{
    didFinishLaunching();
  };
  application.delegate = objects_->delegate;
  // Returns only if the application stops without terminating; termination
  // ends the process from inside.
  [application run];
}

void MacApplication::terminate() {
  [[NSApplication sharedApplication] terminate:nil];
}

void MacApplication::performOnMainQueue(std::function<void()> work) {
  dispatch_async(dispatch_get_main_queue(), ^{
    work();
  });
}

// The handler runs on a queue of the file handle's, one call at a time.
// availableData blocks until bytes are there and answers empty data at end of
// input; it raises on a read error, which ends the input the same way.
void MacApplication::readStandardInput(InputStream*, std::function<void(std::string_view)> onData) {
  auto deliver = std::make_shared<std::function<void(std::string_view)>>(std::move(onData));
  NSFileHandle.fileHandleWithStandardInput.readabilityHandler = ^(NSFileHandle* handle) {
    NSData* data = nil;
    @try {
      data = handle.availableData;
    } @catch (NSException*) {
      data = nil;
    }
    if (data.length == 0) {
      // Clearing the handler releases this block; keep what it calls alive.
      auto keep = deliver;
      handle.readabilityHandler = nil;
      (*keep)(std::string_view());
      return;
    }
    (*deliver)(std::string_view(static_cast<const char*>(data.bytes), data.length));
  };
}

}  // namespace tessary::macos

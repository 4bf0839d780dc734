#include "platform/macos/appkit/mac_pasteboard.h"

#import <AppKit/AppKit.h>

#include "platform/macos/cf_text.h"

namespace tessary::macos {

void MacPasteboard::clearContents() {
  [NSPasteboard.generalPasteboard clearContents];
}

bool MacPasteboard::setPlainString(std::string_view text) {
  @autoreleasepool {
    CFRef<CFStringRef> string = cfStringFromUtf8(text);
    if (!string) return false;
    return [NSPasteboard.generalPasteboard setString:(__bridge NSString*)string.get()
                                             forType:NSPasteboardTypeString];
  }
}

}  // namespace tessary::macos

// The extension's principal class (NSExtensionPrincipalClass): the file
// manager creates it, asks it for menus and calls the menu item's action.
// Everything it decides is in ask-extension/ask_menu.h.
#import <AppKit/AppKit.h>
#import <FinderSync/FinderSync.h>

#include <string>

#include "ask-extension/ask_menu.h"
#include "platform/macos/ask_extension/mac_finder_sync.h"

@interface AskMenuExtension : FIFinderSync
@end

@implementation AskMenuExtension

- (instancetype)init {
  self = [super init];
  if (self) {
    tessary::macos::MacFinderSyncController controller;
    tessary::askextension::registerDirectories(controller);
  }
  return self;
}

- (NSMenu*)menuForMenuKind:(FIMenuKind)menuKind {
  (void)menuKind;  // the same entry in every kind of menu
  NSMenu* menu = [[NSMenu alloc] initWithTitle:@(tessary::askextension::kMenuTitle)];
  NSMenuItem* item =
      [[NSMenuItem alloc] initWithTitle:@(tessary::askextension::kMenuItemTitle)
                                 action:@selector(askTessaryToEditSelection:)
                          keyEquivalent:@(tessary::askextension::kMenuItemKeyEquivalent)];
  item.target = self;
  [menu addItem:item];
  return menu;
}

- (IBAction)askTessaryToEditSelection:(id)sender {
  (void)sender;
  tessary::macos::MacFinderSyncController controller;
  tessary::macos::MacTaskLauncher launcher;
  tessary::macos::MacSystemLog log;
  // The extension's own bundle, inside the host's Contents/PlugIns.
  // The string is held while its UTF-8 bytes are copied.
  NSString* bundle = [NSBundle mainBundle].bundleURL.path;
  std::string bundlePath = bundle.UTF8String ? bundle.UTF8String : "";
  tessary::askextension::askToEditSelection(controller, launcher, log, bundlePath);
}

@end

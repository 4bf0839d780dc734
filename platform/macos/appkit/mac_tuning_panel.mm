#include "platform/macos/appkit/mac_tuning_panel.h"

#import <AppKit/AppKit.h>

#include <map>

#include "platform/macos/cf_text.h"

// The panel's document view: y grows downwards, so rows are laid out from
// the top.
@interface TessaryFlippedView : NSView
@end

@implementation TessaryFlippedView
- (BOOL)isFlipped {
  return YES;
}
@end

// Every control's target; the control's tag is its id.
@interface TessaryControlTarget : NSObject
@property(nonatomic, copy) void (^handler)(NSInteger);
- (void)controlAction:(id)sender;
@end

@implementation TessaryControlTarget
- (void)controlAction:(id)sender {
  if (self.handler) self.handler([sender tag]);
}
@end

namespace tessary::macos {

namespace {
NSRect nsRect(const Rect& r) {
  return NSMakeRect(r.x, r.y, r.w, r.h);
}

NSString* nsString(std::string_view text) {
  CFRef<CFStringRef> string = cfStringFromUtf8(text);
  return string ? (__bridge_transfer NSString*)CFRetain(string.get()) : @"";
}

// NSFont lives in UIFoundation, which AppKit re-exports; ld64.lld does not
// follow that re-export, so the class is looked up at run time instead of
// being linked.
id fontClass() {
  return NSClassFromString(@"NSFont");
}
}  // namespace

struct MacTuningPanel::Views {
  NSPanel* panel = nil;
  TessaryFlippedView* document = nil;
  TessaryControlTarget* target = [TessaryControlTarget new];
  std::map<PanelControlId, NSView*> controls;
  PanelControlId next = 1;

  NSView* parentView(PanelControlId parent) {
    if (parent == kPanelDocumentView) return document;
    auto it = controls.find(parent);
    return it == controls.end() ? nil : it->second;
  }
  PanelControlId add(PanelControlId parent, NSView* view) {
    const PanelControlId id = next++;
    if ([view isKindOfClass:NSControl.class]) ((NSControl*)view).tag = static_cast<NSInteger>(id);
    [parentView(parent) addSubview:view];
    controls.emplace(id, view);
    return id;
  }
  template <typename Kind>
  Kind* find(PanelControlId id) {
    auto it = controls.find(id);
    if (it == controls.end() || ![it->second isKindOfClass:[Kind class]]) return nil;
    return (Kind*)it->second;
  }
};

MacTuningPanel::MacTuningPanel() : views_(std::make_unique<Views>()) {}
MacTuningPanel::~MacTuningPanel() = default;

void MacTuningPanel::createPanel(const TuningPanelConfig& config) {
  NSPanel* panel =
      [[NSPanel alloc] initWithContentRect:nsRect(config.contentRect)
                                 styleMask:config.styleMask
                                   backing:static_cast<NSBackingStoreType>(config.backing)
                                     defer:config.defer];
  panel.title = nsString(config.title);
  panel.level = config.level;
  panel.collectionBehavior = config.collectionBehavior;
  panel.hidesOnDeactivate = config.hidesOnDeactivate;
  panel.floatingPanel = config.floatingPanel;
  panel.becomesKeyOnlyIfNeeded = config.becomesKeyOnlyIfNeeded;
  // Held here for the process's life: closing it must not release it too.
  panel.releasedWhenClosed = NO;
  NSRect contentBounds = panel.contentView ? panel.contentView.bounds : NSZeroRect;
  NSScrollView* scroll = [[NSScrollView alloc] initWithFrame:contentBounds];
  scroll.autoresizingMask = NSViewWidthSizable | NSViewHeightSizable;
  scroll.hasVerticalScroller = YES;
  scroll.drawsBackground = NO;
  TessaryFlippedView* document =
      [[TessaryFlippedView alloc] initWithFrame:nsRect(config.documentFrame)];
  scroll.documentView = document;
  panel.contentView = scroll;
  views_->panel = panel;
  views_->document = document;
}

void MacTuningPanel::showPanel() {
  [views_->panel makeKeyAndOrderFront:nil];
  [views_->panel orderFrontRegardless];
}

Rect MacTuningPanel::documentFrame() {
  NSRect frame = views_->document ? views_->document.frame : NSZeroRect;
  return Rect{frame.origin.x, frame.origin.y, frame.size.width, frame.size.height};
}

void MacTuningPanel::setDocumentFrame(const Rect& frame) {
  views_->document.frame = nsRect(frame);
}

void MacTuningPanel::removeAllControls() {
  for (NSView* view in [views_->document.subviews copy])
    [view removeFromSuperview];
  views_->controls.clear();
}

PanelControlId MacTuningPanel::addContainer(PanelControlId parent, const Rect& frame) {
  return views_->add(parent, [[NSView alloc] initWithFrame:nsRect(frame)]);
}

PanelControlId MacTuningPanel::addLabel(PanelControlId parent, const Rect& frame,
                                        const std::string& text, PanelFont font,
                                        bool rightAligned) {
  NSTextField* label = [NSTextField labelWithString:nsString(text)];
  label.frame = nsRect(frame);
  if (font == PanelFont::boldSystem13) label.font = [fontClass() boldSystemFontOfSize:13];
  if (font == PanelFont::monospacedDigit11Medium) {
    label.font = [fontClass() monospacedDigitSystemFontOfSize:11 weight:NSFontWeightMedium];
  }
  if (rightAligned) label.alignment = NSTextAlignmentRight;
  return views_->add(parent, label);
}

PanelControlId MacTuningPanel::addButton(PanelControlId parent, const Rect& frame,
                                         const std::string& title) {
  NSButton* button = [NSButton buttonWithTitle:nsString(title)
                                        target:views_->target
                                        action:@selector(controlAction:)];
  button.frame = nsRect(frame);
  return views_->add(parent, button);
}

PanelControlId MacTuningPanel::addSlider(PanelControlId parent, const Rect& frame, double value,
                                         double minimum, double maximum, int tickMarks,
                                         bool onlyTickMarkValues) {
  NSSlider* slider = [NSSlider sliderWithValue:value
                                      minValue:minimum
                                      maxValue:maximum
                                        target:views_->target
                                        action:@selector(controlAction:)];
  slider.frame = nsRect(frame);
  slider.continuous = YES;
  if (tickMarks > 0) {
    slider.numberOfTickMarks = tickMarks;
    slider.allowsTickMarkValuesOnly = onlyTickMarkValues;
  }
  return views_->add(parent, slider);
}

PanelControlId MacTuningPanel::addPopUp(PanelControlId parent, const Rect& frame,
                                        const std::vector<std::string>& items, int selected) {
  NSPopUpButton* popUp = [[NSPopUpButton alloc] initWithFrame:nsRect(frame) pullsDown:NO];
  for (const std::string& item : items)
    // Through the menu: the button's own method drops an earlier item of the
    // same title, which would shift the indices.
    [popUp.menu addItemWithTitle:nsString(item) action:nil keyEquivalent:@""];
  if (selected >= 0 && selected < static_cast<int>(items.size()))
    [popUp selectItemAtIndex:selected];
  popUp.target = views_->target;
  popUp.action = @selector(controlAction:);
  return views_->add(parent, popUp);
}

void MacTuningPanel::setLabelText(PanelControlId label, const std::string& text) {
  if (NSTextField* field = views_->find<NSTextField>(label)) field.stringValue = nsString(text);
}

double MacTuningPanel::sliderValue(PanelControlId slider) {
  NSSlider* control = views_->find<NSSlider>(slider);
  return control ? control.doubleValue : 0;
}

bool MacTuningPanel::sliderAllowsOnlyTickMarkValues(PanelControlId slider) {
  NSSlider* control = views_->find<NSSlider>(slider);
  return control && control.allowsTickMarkValuesOnly;
}

std::optional<std::string> MacTuningPanel::selectedItemTitle(PanelControlId popUp) {
  NSPopUpButton* control = views_->find<NSPopUpButton>(popUp);
  NSString* title = control.titleOfSelectedItem;
  if (!title) return std::nullopt;
  return utf8FromCFString((__bridge CFStringRef)title);
}

void MacTuningPanel::setActionHandler(std::function<void(PanelControlId)> handler) {
  views_->target.handler = ^(NSInteger tag) {
    handler(static_cast<PanelControlId>(tag));
  };
}

}  // namespace tessary::macos

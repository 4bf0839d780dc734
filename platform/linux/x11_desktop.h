// The window list, the screens and window activation from the X server and
// an EWMH window manager (xcb, xcb-ewmh, xcb-randr). Every question reads
// the server afresh: windows move between two calls.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/desktop_windows.h"
#include "platform/linux/window_entries.h"
#include "platform/screens.h"
#include "platform/window_server.h"

namespace tessary::linuxdesktop {

class X11Desktop final : public WindowServer, public Screens, public DesktopWindows {
 public:
  // Nothing when the display cannot be opened.
  static std::unique_ptr<X11Desktop> open(const std::string& display);
  ~X11Desktop() override;

  std::optional<PlistArray> copyWindowInfo(uint32_t options, uint32_t relativeToWindow) override;
  std::optional<Rect> mainScreenFrame() override;
  std::optional<int32_t> activeWindowPid() override;
  std::optional<WindowAtPoint> windowAt(double x, double y, std::optional<int32_t> pid) override;
  int32_t raiseWindow(int32_t pid, const Rect& frame) override;
  // Asks the window manager to activate the client window (a
  // _NET_ACTIVE_WINDOW message); false when the request cannot be sent.
  bool activateWindow(uint32_t window);

  // Every top-level window, front to back.
  std::vector<X11WindowFacts> windows();

 private:
  struct Connection;
  explicit X11Desktop(std::unique_ptr<Connection> connection);
  std::unique_ptr<Connection> x_;
};

}  // namespace tessary::linuxdesktop

#include "platform/linux/linux_backend.h"

#include <systemd/sd-bus.h>

#include "platform/fake/fake_desktop.h"
#include "platform/linux/absent_services.h"
#include "platform/linux/dbus_connection.h"
#include "platform/linux/linux_accessibility.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_workspace.h"
#include "platform/linux/x11_desktop.h"
#include "platform/linux/x11_input_state.h"

namespace tessary::linuxdesktop {

namespace {

constexpr uint64_t kBusAddressTimeoutMicroseconds = 2000000;

// The accessibility bus: named directly, or asked of the session bus's
// launcher, which starts it when needed.
std::unique_ptr<DBusConnection> openAccessibilityBus(const Environment& environment,
                                                     DBusConnection* session) {
  if (const std::string* address = environmentValue(environment, "AT_SPI_BUS_ADDRESS");
      address && !address->empty()) {
    return DBusConnection::open(*address);
  }
  if (!session) return nullptr;
  DBusReply reply =
      session->call(DBusCall{"org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", {}},
                    kBusAddressTimeoutMicroseconds);
  std::optional<std::string> address = readString(reply.message.get());
  return address ? DBusConnection::open(*address) : nullptr;
}

class LinuxDesktopBackend final : public PlatformBackend {
 public:
  LinuxDesktopBackend(std::unique_ptr<X11Desktop> desktop,
                      std::unique_ptr<LinuxAccessibility> accessibility, const std::string& display)
      : desktop_(std::move(desktop)),
        accessibility_(std::move(accessibility)),
        workspace_(*accessibility_, *desktop_),
        inputState_(display, clock_),
        overlay_(fake::loadSceneOrThrow("{}")),
        platform_{*accessibility_,
                  *desktop_,
                  *desktop_,
                  workspace_,
                  clock_,
                  hostWindows_,
                  speech_,
                  inputState_,
                  overlay_->platform().application,
                  overlay_->platform().compositor,
                  overlay_->platform().pasteboard,
                  overlay_->platform().random,
                  overlay_->platform().tuningPanel} {}

  Platform& platform() override { return platform_; }
  LinuxAccessibility& accessibility() { return *accessibility_; }

 private:
  std::unique_ptr<X11Desktop> desktop_;
  std::unique_ptr<LinuxAccessibility> accessibility_;
  LinuxWorkspace workspace_;
  LinuxClock clock_;
  AbsentHostWindows hostWindows_;
  AbsentSpeechRecognizer speech_;
  X11InputState inputState_;
  // The curtain's band windows, panel and pasteboard have no X11 translation
  // yet: they are an empty simulated desktop's, so frost-curtain answers its
  // commands here but draws nothing (docs/linux-backend.md).
  std::unique_ptr<fake::FakeDesktop> overlay_;
  Platform platform_;
};

}  // namespace

std::unique_ptr<PlatformBackend> openLinuxDesktop(const Environment& environment,
                                                  std::ostream& err) {
  const std::string* display = environmentValue(environment, "DISPLAY");
  if (!display || display->empty()) return nullptr;
  std::unique_ptr<X11Desktop> desktop = X11Desktop::open(*display);
  if (!desktop) {
    err << "error: cannot open the X display '" << *display << "'\n" << std::flush;
    return nullptr;
  }
  std::unique_ptr<DBusConnection> session;
  if (const std::string* address = environmentValue(environment, "DBUS_SESSION_BUS_ADDRESS");
      address && !address->empty()) {
    session = DBusConnection::open(*address);
  }
  std::unique_ptr<DBusConnection> bus = openAccessibilityBus(environment, session.get());
  auto accessibility =
      std::make_unique<LinuxAccessibility>(std::move(bus), std::move(session), *desktop);
  return std::make_unique<LinuxDesktopBackend>(std::move(desktop), std::move(accessibility),
                                               *display);
}

LinuxAccessibility* linuxAccessibilityOf(PlatformBackend& backend) {
  auto* linux = dynamic_cast<LinuxDesktopBackend*>(&backend);
  return linux ? &linux->accessibility() : nullptr;
}

}  // namespace tessary::linuxdesktop

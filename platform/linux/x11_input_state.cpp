#include "platform/linux/x11_input_state.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/linux/x11_input_translation.h"

namespace tessary::linuxdesktop {

namespace {

constexpr uint32_t kAccessGranted = 0;  // kIOHIDAccessTypeGranted
// A timer never fires more often than this, whatever it is asked.
constexpr double kShortestInterval = 0.001;

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

}  // namespace

struct X11InputState::Server {
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = XCB_NONE;
  KeyboardMapping mapping;
  ModifierKeycodes modifiers;

  ~Server() {
    if (connection) xcb_disconnect(connection);
  }

  std::optional<Keymap> keymap() {
    ReplyPtr<xcb_query_keymap_reply_t> reply(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    if (!reply) return std::nullopt;
    Keymap keys{};
    std::memcpy(keys.data(), reply->keys, keys.size());
    return keys;
  }

  ReplyPtr<xcb_query_pointer_reply_t> pointer() {
    return ReplyPtr<xcb_query_pointer_reply_t>(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
  }
};

X11InputState::X11InputState(std::string display, Clock& clock)
    : display_(std::move(display)), clock_(clock) {}

X11InputState::~X11InputState() = default;

// The keyboard mapping is read once: a program samples for one session of
// the user's, during which the layout is not expected to change.
X11InputState::Server* X11InputState::server() {
  if (opened_) return server_.get();
  opened_ = true;
  auto server = std::make_unique<Server>();
  int screenNumber = 0;
  server->connection = xcb_connect(display_.c_str(), &screenNumber);
  if (xcb_connection_has_error(server->connection)) return nullptr;
  const xcb_setup_t* setup = xcb_get_setup(server->connection);
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  for (int i = 0; i < screenNumber && screens.rem; ++i)
    xcb_screen_next(&screens);
  if (!screens.rem) return nullptr;
  server->root = screens.data->root;

  const uint8_t count = setup->max_keycode - setup->min_keycode + 1;
  ReplyPtr<xcb_get_keyboard_mapping_reply_t> reply(xcb_get_keyboard_mapping_reply(
      server->connection, xcb_get_keyboard_mapping(server->connection, setup->min_keycode, count),
      nullptr));
  if (reply) {
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(reply.get());
    server->mapping.minKeycode = setup->min_keycode;
    server->mapping.keysymsPerKeycode = reply->keysyms_per_keycode;
    server->mapping.keysyms.assign(keysyms, keysyms + std::max(length, 0));
    server->modifiers = modifierKeycodes(server->mapping);
  }
  server_ = std::move(server);
  return server_.get();
}

uint64_t X11InputState::flagsState(int32_t) {
  Server* x = server();
  if (!x) return 0;
  std::optional<Keymap> keys = x->keymap();
  return keys ? macFlagsOf(*keys, x->modifiers) : 0;
}

bool X11InputState::keyState(int32_t, uint16_t keyCode) {
  std::optional<uint32_t> keysym = keysymOfMacKeyCode(keyCode);
  Server* x = keysym ? server() : nullptr;
  if (!x) return false;
  std::optional<Keymap> keys = x->keymap();
  return keys && anyKeyDown(*keys, keycodesProducing(x->mapping, *keysym));
}

bool X11InputState::buttonState(int32_t, uint32_t button) {
  Server* x = server();
  if (!x) return false;
  auto reply = x->pointer();
  return reply && macButtonDown(reply->mask, button);
}

std::optional<Point> X11InputState::pointerLocation() {
  Server* x = server();
  if (!x) return std::nullopt;
  auto reply = x->pointer();
  if (!reply) return std::nullopt;
  return Point{static_cast<double>(reply->root_x), static_cast<double>(reply->root_y)};
}

uint32_t X11InputState::checkAccess(uint32_t) {
  return kAccessGranted;
}

void X11InputState::runRepeatingTimer(double intervalSeconds, double,
                                      const std::function<void()>& onFire) {
  const double interval = std::isnan(intervalSeconds)
                              ? kShortestInterval
                              : std::max(intervalSeconds, kShortestInterval);
  double deadline = clock_.now() + interval;
  for (;;) {
    const double wait = deadline - clock_.now();
    // Rounded up, so a wait shorter than a microsecond still lets time pass.
    if (wait > 0)
      clock_.sleepMicroseconds(static_cast<uint64_t>(std::ceil(std::min(wait, interval) * 1e6)));
    if (clock_.now() < deadline) continue;
    onFire();
    deadline = nextFiring(deadline, clock_.now(), interval);
  }
}

}  // namespace tessary::linuxdesktop

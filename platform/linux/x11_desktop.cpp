#include "platform/linux/x11_desktop.h"

#include <xcb/randr.h>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "common/utf8.h"
#include "platform/ax_value.h"
#include "platform/linux/process_names.h"

namespace tessary::linuxdesktop {

namespace {

// Frames sit this many levels at most above the client they hold.
constexpr int kMaxFrameDepth = 8;

template <typename Reply>
struct FreeReply {
  void operator()(Reply* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply<Reply>>;

}  // namespace

struct X11Desktop::Connection {
  xcb_connection_t* connection = nullptr;
  int screenNumber = 0;
  xcb_screen_t* screen = nullptr;
  xcb_ewmh_connection_t ewmh{};
  bool ewmhReady = false;
  xcb_atom_t wmState = XCB_NONE;
  xcb_atom_t opacity = XCB_NONE;

  ~Connection() {
    if (ewmhReady) xcb_ewmh_connection_wipe(&ewmh);
    if (connection) xcb_disconnect(connection);
  }
  xcb_window_t root() const { return screen->root; }
};

namespace {

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c, 0, std::strlen(name), name);
  ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
  return reply ? reply->atom : XCB_NONE;
}

std::optional<WindowType> typeOf(const xcb_ewmh_connection_t& e, const xcb_atom_t* atoms,
                                 uint32_t count) {
  // The first type the window names that is known wins, as the EWMH says.
  const std::pair<xcb_atom_t, WindowType> known[] = {
      {e._NET_WM_WINDOW_TYPE_DESKTOP, WindowType::desktop},
      {e._NET_WM_WINDOW_TYPE_DOCK, WindowType::dock},
      {e._NET_WM_WINDOW_TYPE_TOOLBAR, WindowType::toolbar},
      {e._NET_WM_WINDOW_TYPE_MENU, WindowType::menu},
      {e._NET_WM_WINDOW_TYPE_UTILITY, WindowType::utility},
      {e._NET_WM_WINDOW_TYPE_SPLASH, WindowType::splash},
      {e._NET_WM_WINDOW_TYPE_DIALOG, WindowType::dialog},
      {e._NET_WM_WINDOW_TYPE_DROPDOWN_MENU, WindowType::dropdownMenu},
      {e._NET_WM_WINDOW_TYPE_POPUP_MENU, WindowType::popupMenu},
      {e._NET_WM_WINDOW_TYPE_TOOLTIP, WindowType::tooltip},
      {e._NET_WM_WINDOW_TYPE_NOTIFICATION, WindowType::notification},
      {e._NET_WM_WINDOW_TYPE_COMBO, WindowType::combo},
      {e._NET_WM_WINDOW_TYPE_DND, WindowType::dnd},
      {e._NET_WM_WINDOW_TYPE_NORMAL, WindowType::normal},
  };
  for (uint32_t i = 0; i < count; ++i) {
    for (const auto& [atom, type] : known) {
      if (atoms[i] == atom) return type;
    }
  }
  return std::nullopt;
}

// WM_NAME is Latin-1 (type STRING; compound text is read the same way,
// which is right for its Latin-1 part).
std::optional<std::string> latin1PropertyText(xcb_get_property_reply_t* reply) {
  if (!reply || reply->format != 8) return std::nullopt;
  int length = xcb_get_property_value_length(reply);
  if (length <= 0) return std::nullopt;
  const unsigned char* data = static_cast<const unsigned char*>(xcb_get_property_value(reply));
  std::string text;
  for (int i = 0; i < length && data[i] != 0; ++i)
    appendUtf8(text, data[i]);
  return text;
}

std::optional<uint32_t> propertyCardinal(xcb_get_property_reply_t* reply) {
  if (!reply || reply->format != 32 || xcb_get_property_value_length(reply) < 4)
    return std::nullopt;
  uint32_t value = 0;
  std::memcpy(&value, xcb_get_property_value(reply), sizeof value);
  return value;
}

}  // namespace

X11Desktop::X11Desktop(std::unique_ptr<Connection> connection) : x_(std::move(connection)) {}
X11Desktop::~X11Desktop() = default;

std::unique_ptr<X11Desktop> X11Desktop::open(const std::string& display) {
  auto x = std::make_unique<Connection>();
  x->connection = xcb_connect(display.c_str(), &x->screenNumber);
  if (!x->connection || xcb_connection_has_error(x->connection)) return nullptr;
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(x->connection));
  for (int i = 0; screens.rem && i < x->screenNumber; ++i)
    xcb_screen_next(&screens);
  if (!screens.rem) return nullptr;
  x->screen = screens.data;
  xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(x->connection, &x->ewmh);
  x->ewmhReady = cookies && xcb_ewmh_init_atoms_replies(&x->ewmh, cookies, nullptr) == 1;
  if (!x->ewmhReady) return nullptr;
  x->wmState = internAtom(x->connection, "WM_STATE");
  x->opacity = internAtom(x->connection, "_NET_WM_WINDOW_OPACITY");
  return std::unique_ptr<X11Desktop>(new X11Desktop(std::move(x)));
}

std::vector<X11WindowFacts> X11Desktop::windows() {
  xcb_connection_t* c = x_->connection;
  xcb_ewmh_connection_t* ewmh = &x_->ewmh;
  std::vector<X11WindowFacts> result;

  ReplyPtr<xcb_query_tree_reply_t> tree(
      xcb_query_tree_reply(c, xcb_query_tree(c, x_->root()), nullptr));
  if (!tree) return result;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  const int childCount = xcb_query_tree_children_length(tree.get());

  // The window manager's clients, each traced up to the root's child that
  // holds it (its frame, or the client itself).
  std::map<xcb_window_t, xcb_window_t> clientOfTopLevel;
  xcb_ewmh_get_windows_reply_t clients{};
  if (xcb_ewmh_get_client_list_reply(ewmh, xcb_ewmh_get_client_list(ewmh, x_->screenNumber),
                                     &clients, nullptr)) {
    std::vector<std::pair<xcb_window_t, xcb_window_t>> climbing;  // client, current
    for (uint32_t i = 0; i < clients.windows_len; ++i)
      climbing.emplace_back(clients.windows[i], clients.windows[i]);
    xcb_ewmh_get_windows_reply_wipe(&clients);
    for (int level = 0; level < kMaxFrameDepth && !climbing.empty(); ++level) {
      std::vector<xcb_query_tree_cookie_t> cookies;
      for (const auto& entry : climbing)
        cookies.push_back(xcb_query_tree(c, entry.second));
      std::vector<std::pair<xcb_window_t, xcb_window_t>> next;
      for (size_t i = 0; i < climbing.size(); ++i) {
        ReplyPtr<xcb_query_tree_reply_t> up(xcb_query_tree_reply(c, cookies[i], nullptr));
        if (!up) continue;
        if (up->parent == x_->root()) {
          clientOfTopLevel.emplace(climbing[i].second, climbing[i].first);
        } else if (up->parent != XCB_NONE) {
          next.emplace_back(climbing[i].first, up->parent);
        }
      }
      climbing = std::move(next);
    }
  }

  struct Pending {
    xcb_window_t topLevel, client;
    xcb_get_window_attributes_cookie_t attributes;
    xcb_get_geometry_cookie_t geometry;
    xcb_get_property_cookie_t pid, name, legacyName, type, state, wmState, clientOpacity,
        frameOpacity;
  };
  std::vector<Pending> pending;
  pending.reserve(static_cast<size_t>(childCount));
  for (int i = childCount - 1; i >= 0; --i) {  // the tree lists bottom to top
    xcb_window_t topLevel = children[i];
    auto client = clientOfTopLevel.find(topLevel);
    xcb_window_t window = client == clientOfTopLevel.end() ? topLevel : client->second;
    Pending p{};
    p.topLevel = topLevel;
    p.client = window;
    p.attributes = xcb_get_window_attributes(c, topLevel);
    p.geometry = xcb_get_geometry(c, topLevel);
    p.pid = xcb_ewmh_get_wm_pid(ewmh, window);
    p.name = xcb_ewmh_get_wm_name(ewmh, window);
    p.legacyName =
        xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
    p.type = xcb_ewmh_get_wm_window_type(ewmh, window);
    p.state = xcb_ewmh_get_wm_state(ewmh, window);
    p.wmState = xcb_get_property(c, 0, window, x_->wmState, x_->wmState, 0, 2);
    p.clientOpacity = xcb_get_property(c, 0, window, x_->opacity, XCB_ATOM_CARDINAL, 0, 1);
    p.frameOpacity = xcb_get_property(c, 0, topLevel, x_->opacity, XCB_ATOM_CARDINAL, 0, 1);
    pending.push_back(p);
  }

  std::map<int32_t, std::optional<std::string>> names;
  for (Pending& p : pending) {
    ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, p.attributes, nullptr));
    ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, p.geometry, nullptr));
    uint32_t pid = 0;
    bool hasPid = xcb_ewmh_get_wm_pid_reply(ewmh, p.pid, &pid, nullptr) == 1;
    xcb_ewmh_get_utf8_strings_reply_t utf8{};
    std::optional<std::string> title;
    if (xcb_ewmh_get_wm_name_reply(ewmh, p.name, &utf8, nullptr) == 1) {
      // Any bytes may be in the property; the list keeps its text valid.
      std::string_view raw(utf8.strings, utf8.strings_len);
      title = sanitizedUtf8(raw.substr(0, raw.find('\0')));
      xcb_ewmh_get_utf8_strings_reply_wipe(&utf8);
    }
    ReplyPtr<xcb_get_property_reply_t> legacyName(xcb_get_property_reply(c, p.legacyName, nullptr));
    if (!title) title = latin1PropertyText(legacyName.get());
    xcb_ewmh_get_atoms_reply_t types{}, states{};
    std::optional<WindowType> type;
    if (xcb_ewmh_get_wm_window_type_reply(ewmh, p.type, &types, nullptr) == 1) {
      type = typeOf(*ewmh, types.atoms, types.atoms_len);
      xcb_ewmh_get_atoms_reply_wipe(&types);
    }
    bool hidden = false, above = false;
    if (xcb_ewmh_get_wm_state_reply(ewmh, p.state, &states, nullptr) == 1) {
      for (uint32_t i = 0; i < states.atoms_len; ++i) {
        if (states.atoms[i] == ewmh->_NET_WM_STATE_HIDDEN) hidden = true;
        if (states.atoms[i] == ewmh->_NET_WM_STATE_ABOVE) above = true;
      }
      xcb_ewmh_get_atoms_reply_wipe(&states);
    }
    ReplyPtr<xcb_get_property_reply_t> wmState(xcb_get_property_reply(c, p.wmState, nullptr));
    std::optional<uint32_t> iconicState = propertyCardinal(wmState.get());
    constexpr uint32_t kIconicState = 3;
    if (iconicState == kIconicState) hidden = true;
    ReplyPtr<xcb_get_property_reply_t> clientOpacity(
        xcb_get_property_reply(c, p.clientOpacity, nullptr));
    ReplyPtr<xcb_get_property_reply_t> frameOpacity(
        xcb_get_property_reply(c, p.frameOpacity, nullptr));
    std::optional<uint32_t> opacity = propertyCardinal(clientOpacity.get());
    if (!opacity) opacity = propertyCardinal(frameOpacity.get());

    if (!attributes || !geometry || attributes->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT) continue;
    const bool managed = clientOfTopLevel.count(p.topLevel) > 0;
    const bool viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    // Unmapped windows are listed only when they are minimised clients;
    // everything else unmapped is withdrawn or the window manager's own.
    if (!viewable && !(managed && hidden)) continue;

    X11WindowFacts facts;
    facts.number = p.client;
    double border = geometry->border_width;
    facts.bounds = Rect{static_cast<double>(geometry->x), static_cast<double>(geometry->y),
                        geometry->width + 2 * border, geometry->height + 2 * border};
    facts.viewable = viewable;
    facts.overrideRedirect = attributes->override_redirect != 0;
    facts.hidden = hidden;
    facts.above = above;
    facts.type = type;
    if (hasPid && pid > 0 && pid <= static_cast<uint32_t>(INT32_MAX)) {
      facts.pid = static_cast<int32_t>(pid);
      auto known = names.find(*facts.pid);
      if (known == names.end()) known = names.emplace(*facts.pid, processName(*facts.pid)).first;
      facts.ownerName = known->second;
    }
    facts.title = std::move(title);
    if (opacity) facts.opacity = static_cast<double>(*opacity) / 0xFFFFFFFFu;
    result.push_back(std::move(facts));
  }
  return result;
}

std::optional<PlistArray> X11Desktop::copyWindowInfo(uint32_t options, uint32_t relativeToWindow) {
  if (xcb_connection_has_error(x_->connection)) return std::nullopt;
  return windowList(windows(), options, relativeToWindow);
}

std::optional<Rect> X11Desktop::mainScreenFrame() {
  xcb_connection_t* c = x_->connection;
  if (xcb_connection_has_error(c)) return std::nullopt;
  auto crtcFrame = [c](xcb_randr_crtc_t crtc) -> std::optional<Rect> {
    if (crtc == XCB_NONE) return std::nullopt;
    ReplyPtr<xcb_randr_get_crtc_info_reply_t> info(xcb_randr_get_crtc_info_reply(
        c, xcb_randr_get_crtc_info(c, crtc, XCB_CURRENT_TIME), nullptr));
    if (!info || info->mode == XCB_NONE || info->width == 0 || info->height == 0)
      return std::nullopt;
    return Rect{static_cast<double>(info->x), static_cast<double>(info->y),
                static_cast<double>(info->width), static_cast<double>(info->height)};
  };
  ReplyPtr<xcb_randr_get_output_primary_reply_t> primary(
      xcb_randr_get_output_primary_reply(c, xcb_randr_get_output_primary(c, x_->root()), nullptr));
  if (primary && primary->output != XCB_NONE) {
    ReplyPtr<xcb_randr_get_output_info_reply_t> output(xcb_randr_get_output_info_reply(
        c, xcb_randr_get_output_info(c, primary->output, XCB_CURRENT_TIME), nullptr));
    if (output) {
      if (std::optional<Rect> frame = crtcFrame(output->crtc)) return frame;
    }
  }
  // Without a primary output the first lit one is the main screen.
  ReplyPtr<xcb_randr_get_screen_resources_current_reply_t> resources(
      xcb_randr_get_screen_resources_current_reply(
          c, xcb_randr_get_screen_resources_current(c, x_->root()), nullptr));
  if (resources) {
    const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(resources.get());
    int count = xcb_randr_get_screen_resources_current_crtcs_length(resources.get());
    for (int i = 0; i < count; ++i) {
      if (std::optional<Rect> frame = crtcFrame(crtcs[i])) return frame;
    }
  }
  return Rect{0, 0, static_cast<double>(x_->screen->width_in_pixels),
              static_cast<double>(x_->screen->height_in_pixels)};
}

std::optional<int32_t> X11Desktop::activeWindowPid() {
  xcb_ewmh_connection_t* ewmh = &x_->ewmh;
  xcb_window_t active = XCB_NONE;
  if (xcb_ewmh_get_active_window_reply(ewmh, xcb_ewmh_get_active_window(ewmh, x_->screenNumber),
                                       &active, nullptr) != 1 ||
      active == XCB_NONE) {
    return std::nullopt;
  }
  uint32_t pid = 0;
  if (xcb_ewmh_get_wm_pid_reply(ewmh, xcb_ewmh_get_wm_pid(ewmh, active), &pid, nullptr) != 1 ||
      pid == 0 || pid > static_cast<uint32_t>(INT32_MAX)) {
    return std::nullopt;
  }
  return static_cast<int32_t>(pid);
}

std::optional<WindowAtPoint> X11Desktop::windowAt(double x, double y, std::optional<int32_t> pid) {
  for (const X11WindowFacts& window : windows()) {
    if (!isOnScreen(window) || !window.pid || window.opacity == 0.0) continue;
    if (pid && *window.pid != *pid) continue;
    const Rect& b = window.bounds;
    if (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h)
      return WindowAtPoint{*window.pid, b};
  }
  return std::nullopt;
}

int32_t X11Desktop::raiseWindow(int32_t pid, const Rect& frame) {
  std::optional<uint32_t> best;
  double bestScore = -1;
  for (const X11WindowFacts& window : windows()) {
    if (window.pid != pid || window.overrideRedirect) continue;
    double score = iou(window.bounds, frame);
    if (score > bestScore) {
      bestScore = score;
      best = window.number;
    }
  }
  if (!best) return axerror::cannotComplete;
  return activateWindow(*best) ? axerror::success : axerror::cannotComplete;
}

bool X11Desktop::activateWindow(uint32_t window) {
  xcb_ewmh_request_change_active_window(&x_->ewmh, x_->screenNumber, window,
                                        XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                        XCB_NONE);
  return xcb_flush(x_->connection) > 0;
}

}  // namespace tessary::linuxdesktop

// One D-Bus connection (sd-bus) and the two ways this backend talks over it:
// a single call, and a batch of calls sent at once whose answers are
// collected as they come, so that a batch costs about one round trip.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct sd_bus;
struct sd_bus_message;

namespace tessary::linuxdesktop {

// An owned reply message; nullptr when the call failed.
struct DBusMessageUnref {
  void operator()(sd_bus_message* message) const;
};
using DBusMessagePtr = std::unique_ptr<sd_bus_message, DBusMessageUnref>;

struct DBusReply {
  DBusMessagePtr message;  // the method return; null on error
  std::string errorName;   // the D-Bus error name when the call failed
  bool ok() const { return message != nullptr; }
  bool timedOut() const;
};

struct DBusCall {
  std::string destination;
  std::string path;
  std::string interface;
  std::string member;
  // Appends the arguments; nothing for a call without any.
  std::function<int(sd_bus_message*)> appendArguments;
};

class DBusConnection {
 public:
  // Connects to the bus at `address` as a client; nothing when that fails.
  static std::unique_ptr<DBusConnection> open(const std::string& address);
  ~DBusConnection();
  DBusConnection(const DBusConnection&) = delete;
  DBusConnection& operator=(const DBusConnection&) = delete;

  DBusReply call(const DBusCall& call, uint64_t timeoutMicroseconds);
  // Every call is sent before any answer is awaited (at most `kMaxInFlight`
  // outstanding); the replies come back in the order of `calls`.
  std::vector<DBusReply> callAll(std::span<const DBusCall> calls, uint64_t timeoutMicroseconds);

  // Calls sent over this connection so far, in all and by member name.
  uint64_t callsSent() const { return callsSent_; }
  const std::map<std::string, uint64_t>& callsByMember() const { return callsByMember_; }
  sd_bus* bus() { return bus_; }

  static constexpr size_t kMaxInFlight = 512;

 private:
  explicit DBusConnection(sd_bus* bus) : bus_(bus) {}
  sd_bus_message* newCall(const DBusCall& call);
  void countCall(const DBusCall& call);

  sd_bus* bus_;
  uint64_t callsSent_ = 0;
  std::map<std::string, uint64_t> callsByMember_;
};

// Readers for the few reply shapes this backend uses; nothing when the reply
// has another shape.
std::optional<std::string> readString(sd_bus_message* message);
std::optional<bool> readBoolean(sd_bus_message* message);
// A property value ("v") holding a string, a boolean or a double.
std::optional<std::string> readStringVariant(sd_bus_message* message);
std::optional<bool> readBooleanVariant(sd_bus_message* message);
std::optional<double> readDoubleVariant(sd_bus_message* message);

}  // namespace tessary::linuxdesktop

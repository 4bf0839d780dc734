#include "platform/linux/dbus_connection.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace tessary::linuxdesktop {

void DBusMessageUnref::operator()(sd_bus_message* message) const {
  sd_bus_message_unref(message);
}

bool DBusReply::timedOut() const {
  return errorName == SD_BUS_ERROR_NO_REPLY || errorName == SD_BUS_ERROR_TIMEOUT;
}

std::unique_ptr<DBusConnection> DBusConnection::open(const std::string& address) {
  sd_bus* bus = nullptr;
  if (sd_bus_new(&bus) < 0) return nullptr;
  if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
      sd_bus_start(bus) < 0) {
    sd_bus_flush_close_unref(bus);
    return nullptr;
  }
  return std::unique_ptr<DBusConnection>(new DBusConnection(bus));
}

DBusConnection::~DBusConnection() {
  sd_bus_flush_close_unref(bus_);
}

void DBusConnection::countCall(const DBusCall& call) {
  ++callsSent_;
  ++callsByMember_[call.member];
}

sd_bus_message* DBusConnection::newCall(const DBusCall& call) {
  sd_bus_message* message = nullptr;
  if (sd_bus_message_new_method_call(bus_, &message, call.destination.c_str(), call.path.c_str(),
                                     call.interface.c_str(), call.member.c_str()) < 0) {
    return nullptr;
  }
  if (call.appendArguments && call.appendArguments(message) < 0) {
    sd_bus_message_unref(message);
    return nullptr;
  }
  return message;
}

namespace {

DBusReply replyOf(sd_bus_message* reply, const sd_bus_error* error) {
  DBusReply result;
  if (reply && !sd_bus_message_is_method_error(reply, nullptr)) {
    result.message.reset(sd_bus_message_ref(reply));
    return result;
  }
  const sd_bus_error* cause = reply ? sd_bus_message_get_error(reply) : error;
  result.errorName = cause && cause->name ? cause->name : SD_BUS_ERROR_FAILED;
  return result;
}

struct PendingReply {
  DBusReply* slot;
  size_t* outstanding;
};

int collectReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* pending = static_cast<PendingReply*>(userdata);
  *pending->slot = replyOf(reply, nullptr);
  --*pending->outstanding;
  return 1;
}

}  // namespace

DBusReply DBusConnection::call(const DBusCall& call, uint64_t timeoutMicroseconds) {
  sd_bus_message* message = newCall(call);
  if (!message) return DBusReply{nullptr, SD_BUS_ERROR_INVALID_ARGS};
  countCall(call);
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int status = sd_bus_call(bus_, message, timeoutMicroseconds, &error, &reply);
  sd_bus_message_unref(message);
  DBusReply result = status < 0 ? replyOf(nullptr, &error) : replyOf(reply, nullptr);
  if (status < 0 && !error.name) result.errorName = SD_BUS_ERROR_DISCONNECTED;
  sd_bus_error_free(&error);
  sd_bus_message_unref(reply);
  return result;
}

std::vector<DBusReply> DBusConnection::callAll(std::span<const DBusCall> calls,
                                               uint64_t timeoutMicroseconds) {
  std::vector<DBusReply> replies(calls.size());
  std::vector<PendingReply> pending(calls.size());
  std::vector<sd_bus_slot*> slots(calls.size(), nullptr);
  size_t outstanding = 0;
  size_t next = 0;
  bool broken = false;
  while (!broken && (next < calls.size() || outstanding > 0)) {
    while (next < calls.size() && outstanding < kMaxInFlight) {
      size_t index = next++;
      sd_bus_message* message = newCall(calls[index]);
      if (!message) {
        replies[index].errorName = SD_BUS_ERROR_INVALID_ARGS;
        continue;
      }
      pending[index] = PendingReply{&replies[index], &outstanding};
      ++outstanding;
      countCall(calls[index]);
      int status = sd_bus_call_async(bus_, &slots[index], message, collectReply, &pending[index],
                                     timeoutMicroseconds);
      sd_bus_message_unref(message);
      if (status < 0) {
        --outstanding;
        replies[index].errorName = SD_BUS_ERROR_DISCONNECTED;
      }
    }
    if (outstanding == 0) continue;
    int processed = sd_bus_process(bus_, nullptr);
    if (processed < 0) {
      broken = true;
    } else if (processed == 0 && sd_bus_wait(bus_, UINT64_MAX) < 0) {
      broken = true;
    }
  }
  // Slots still pending when the connection broke are dropped without their
  // callbacks running; their replies stay errors.
  for (size_t i = 0; i < calls.size(); ++i) {
    if (slots[i]) sd_bus_slot_unref(slots[i]);
    if (!replies[i].ok() && replies[i].errorName.empty())
      replies[i].errorName = SD_BUS_ERROR_DISCONNECTED;
  }
  return replies;
}

std::optional<std::string> readString(sd_bus_message* message) {
  const char* text = nullptr;
  if (!message || sd_bus_message_read(message, "s", &text) < 0 || !text) return std::nullopt;
  return std::string(text);
}

std::optional<bool> readBoolean(sd_bus_message* message) {
  int value = 0;
  if (!message || sd_bus_message_read(message, "b", &value) < 0) return std::nullopt;
  return value != 0;
}

std::optional<std::string> readStringVariant(sd_bus_message* message) {
  const char* text = nullptr;
  if (!message || sd_bus_message_read(message, "v", "s", &text) < 0 || !text) return std::nullopt;
  return std::string(text);
}

std::optional<bool> readBooleanVariant(sd_bus_message* message) {
  int value = 0;
  if (!message || sd_bus_message_read(message, "v", "b", &value) < 0) return std::nullopt;
  return value != 0;
}

std::optional<double> readDoubleVariant(sd_bus_message* message) {
  double value = 0;
  if (!message || sd_bus_message_read(message, "v", "d", &value) < 0) return std::nullopt;
  return value;
}

}  // namespace tessary::linuxdesktop

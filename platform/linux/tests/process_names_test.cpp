#include "platform/linux/process_names.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace tessary::linuxdesktop {
namespace {

TEST(ProcessNames, TheExecutableNamesAProcessThatRunsItUnderItsOwnName) {
  struct Case {
    std::string command, executable, expected;
  };
  const Case cases[] = {
      // The kernel cuts the process's own name at 15 bytes.
      {"gtk3-widget-fac", "/usr/bin/gtk3-widget-factory", "gtk3-widget-factory"},
      {"openbox", "/usr/bin/openbox", "openbox"},
      // A script is known by its own name, not its interpreter's.
      {"notes.py", "/usr/bin/python3.11", "notes.py"},
      {"python3", "/usr/bin/python3.11", "python3"},
      // A process that renamed itself.
      {"worker", "/opt/app/bin/app-server", "worker"},
      {"", "/usr/bin/xterm", "xterm"},
      {"kthread", "", "kthread"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(chooseProcessName(c.command, c.executable), c.expected) << c.command;
}

TEST(ProcessNames, ThisProcessAndOneThatIsGone) {
  EXPECT_EQ(processName(getpid()), "linux_backend_test");
  EXPECT_EQ(executablePath(getpid())->substr(executablePath(getpid())->rfind('/') + 1),
            "linux_backend_test");
  EXPECT_EQ(processName(0), std::nullopt);
  EXPECT_EQ(processName(-5), std::nullopt);
  EXPECT_EQ(processName(0x7FFFFFF0), std::nullopt);
}

}  // namespace
}  // namespace tessary::linuxdesktop

// Device access where no driver answers: every failure is a result, and outputs are
// written exactly as promised.
#include <gtest/gtest.h>

#include <string>

#include "MacIoctl.h"
#include "TestSupport.h"

using testsupport::VersionUnderTest;
using testsupport::WindowsVersion;

namespace {

DWORD ExpectedPlatform() {
  switch (VersionUnderTest()) {
  case WindowsVersion::Win98: return MAC_PLATFORM_WIN9X;
  case WindowsVersion::NT4: return MAC_PLATFORM_NT4;
  default: return MAC_PLATFORM_NT5;
  }
}

TEST(DeviceAccessWithoutDriverTest, FailedOpenWritesTheFlagAndLeavesNoHandle) {
  // GoogleTest opens a handle of its own at the first SCOPED_TRACE.
  { SCOPED_TRACE("first trace"); }
  unsigned handlesBefore = testsupport::CountOpenHandles();
  static const struct {
    const char *what;
    std::string name;
  } cases[] = {
      {"no such adapter", "{TARNU-NO-SUCH-ADAPTER}"},
      {"name too long for the device path", std::string(124, 'n')},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    BYTE flag = 0xCC;
    EXPECT_EQ(INVALID_HANDLE_VALUE, MacOpen(c.name.c_str(), &flag));
    EXPECT_EQ(0, flag);
  }
  BYTE flag = 0xCC;
  SetLastError(0xDEADBEEF);
  EXPECT_EQ(INVALID_HANDLE_VALUE, MacOpen(std::string(124, 'n').c_str(), &flag));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
  EXPECT_EQ(handlesBefore, testsupport::CountOpenHandles());
}

TEST(DeviceAccessWithoutDriverTest, NoDeviceMeansNoRequestAndNoClose) {
  // Wine keeps its named-object directory open after the first named event (Windows 9x).
  MacIoctl(INVALID_HANDLE_VALUE, OID_MAC_LINK_STATE, nullptr, 0, nullptr);
  unsigned handlesBefore = testsupport::CountOpenHandles();
  DWORD buffer = 0x12345678, returned = 0xDEADBEEF;
  EXPECT_EQ(0, MacIoctl(INVALID_HANDLE_VALUE, OID_MAC_LINK_STATE, &buffer, sizeof(buffer),
                        &returned));
  EXPECT_EQ(0u, returned);
  EXPECT_EQ(0x12345678u, buffer);
  EXPECT_EQ(0, MacIoctl(INVALID_HANDLE_VALUE, OID_MAC_LINK_STATE, nullptr, 0, nullptr));
  EXPECT_EQ(ExpectedPlatform(), MacClose("any", 0, INVALID_HANDLE_VALUE));
  // The Windows 9x request's event is closed again on this path too.
  EXPECT_EQ(handlesBefore, testsupport::CountOpenHandles());
}

} // namespace

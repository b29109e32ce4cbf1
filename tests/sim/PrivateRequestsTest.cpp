// The private requests that the simulated driver carries out itself: events it makes
// or takes over, its memory block and the queues announced to it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SimulatedDriverTest.h"
#include "SimProtocol.h"
#include "TestSupport.h"

namespace {

const char kGuid[] = "{6A2B0C1D-11E2-4F3A-9B8C-7D6E5F403122}";

struct Block {
  std::vector<BYTE> bytes = std::vector<BYTE>(SIM_EVENT_BLOCK_SIZE, 0);
  ULONG DriverEvent() const {
    ULONG value;
    memcpy(&value, &bytes[4], 4);
    return value;
  }
  void SetDriverEvent(ULONG value) { memcpy(&bytes[4], &value, 4); }
  void SetWideName(const std::wstring &name) {
    memcpy(&bytes[SIM_EVENT_NAME_OFFSET], name.c_str(), (name.size() + 1) * sizeof(wchar_t));
  }
  void SetAnsiName(const std::string &name) {
    memcpy(&bytes[SIM_EVENT_NAME_OFFSET], name.c_str(), name.size() + 1);
  }
};

class PrivateRequestsTest : public SimulatedDriverTest {
 protected:
  void SetUp() override {
    SimulatedDriverTest::SetUp();
    if (HasFatalFailure())
      return;
    ASSERT_TRUE(sim.AddAdapter(kGuid));
    m_device = CreateFileA((std::string("\\\\.\\") + kGuid).c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, m_device);
  }
  void TearDown() override {
    if (m_device != INVALID_HANDLE_VALUE)
      CloseHandle(m_device);
    SimulatedDriverTest::TearDown();
  }

  bool Query(HANDLE device, ULONG oid, void *buffer, DWORD size, DWORD *returned) {
    *returned = 0xDEADBEEF;
    return DeviceIoControl(device, sim::kIoctlQueryGlobalStats, &oid, sizeof(oid), buffer, size,
                           returned, nullptr) != FALSE;
  }
  bool Query(ULONG oid, void *buffer, DWORD size, DWORD *returned) {
    return Query(m_device, oid, buffer, size, returned);
  }

  HANDLE m_device = INVALID_HANDLE_VALUE;
};

TEST_F(PrivateRequestsTest, DriverMakesANamedEventTheCallerOpensAndWaitsOn) {
  Block block;
  block.SetWideName(L"MacIoctlEvent7");
  DWORD returned;
  ASSERT_TRUE(Query(SIM_OID_MAC_EVENT_CREATE, block.bytes.data(), SIM_EVENT_BLOCK_SIZE, &returned));
  EXPECT_EQ(SIM_EVENT_BLOCK_SIZE, returned);
  EXPECT_NE(0u, block.DriverEvent());
  EXPECT_EQ(1u, sim.GetState().events);

  HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, L"MacIoctlEvent7");
  ASSERT_NE(nullptr, event);
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0));
  ASSERT_TRUE(sim.SignalEvent("MacIoctlEvent7"));
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(event, 5000));
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0)) << "auto-reset";
  CloseHandle(event);

  ASSERT_TRUE(Query(SIM_OID_MAC_EVENT_DESTROY, block.bytes.data(), SIM_EVENT_BLOCK_SIZE, &returned));
  EXPECT_EQ(0u, sim.GetState().events);
  EXPECT_FALSE(sim.SignalEvent("MacIoctlEvent7"));
  EXPECT_FALSE(Query(SIM_OID_MAC_EVENT_DESTROY, block.bytes.data(), SIM_EVENT_BLOCK_SIZE,
                     &returned))
      << "released once only";
}

TEST_F(PrivateRequestsTest, UnopenableEventIsStillMadeAndReleased) {
  ASSERT_TRUE(sim.SetEventUnopenable(true));
  Block block;
  block.SetWideName(L"MacIoctlEvent8");
  DWORD returned;
  ASSERT_TRUE(Query(SIM_OID_MAC_EVENT_CREATE, block.bytes.data(), SIM_EVENT_BLOCK_SIZE, &returned));
  EXPECT_NE(0u, block.DriverEvent());
  EXPECT_EQ(nullptr, OpenEventW(SYNCHRONIZE, FALSE, L"MacIoctlEvent8"));
  ASSERT_TRUE(Query(SIM_OID_MAC_EVENT_DESTROY, block.bytes.data(), SIM_EVENT_BLOCK_SIZE, &returned));
  EXPECT_EQ(0u, sim.GetState().events);
}

TEST_F(PrivateRequestsTest, MalformedEventBlocksAreRefused) {
  Block unterminated;
  std::fill(unterminated.bytes.begin() + SIM_EVENT_NAME_OFFSET, unterminated.bytes.end(), 'A');
  Block unnamed;
  Block named;
  named.SetWideName(L"MacIoctlEvent1");
  static const struct {
    const char *what;
    Block *block;
    DWORD size;
  } cases[] = {
      {"name without its NUL", &unterminated, SIM_EVENT_BLOCK_SIZE},
      {"empty name", &unnamed, SIM_EVENT_BLOCK_SIZE},
      {"buffer shorter than a block", &named, SIM_EVENT_BLOCK_SIZE - 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<BYTE> before = c.block->bytes;
    DWORD returned;
    EXPECT_FALSE(Query(SIM_OID_MAC_EVENT_CREATE, c.block->bytes.data(), c.size, &returned));
    EXPECT_EQ(before, c.block->bytes);
  }
  EXPECT_EQ(0u, sim.GetState().events);
}

TEST_F(PrivateRequestsTest, AccessDriverTakesOverTheCallersEvent) {
  HANDLE access = CreateFileA("\\\\.\\TARNUIOC", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, access);
  ULONG reply;
  DWORD returned;
  ASSERT_TRUE(DeviceIoControl(access, sim::kIoctlBind, const_cast<char *>(kGuid),
                              sizeof(kGuid), &reply, sizeof(reply), &returned, nullptr));

  // On Windows 9x the caller makes the event and passes its own handle for the driver.
  HANDLE event = CreateEventA(nullptr, FALSE, FALSE, "MacIoctlEvent9");
  ASSERT_NE(nullptr, event);
  Block block;
  block.SetAnsiName("MacIoctlEvent9");
  block.SetDriverEvent(HandleToULong(event));
  ASSERT_TRUE(Query(access, SIM_OID_MAC_EVENT_CREATE, block.bytes.data(), SIM_EVENT_BLOCK_SIZE,
                    &returned));
  EXPECT_EQ(SIM_EVENT_BLOCK_SIZE, returned);
  EXPECT_EQ(HandleToULong(event), block.DriverEvent()) << "left as the caller set it";
  ASSERT_TRUE(sim.SignalEvent("MacIoctlEvent9"));
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(event, 5000));
  ASSERT_TRUE(Query(access, SIM_OID_MAC_EVENT_DESTROY, block.bytes.data(), SIM_EVENT_BLOCK_SIZE,
                    &returned));

  Block noHandle;
  noHandle.SetAnsiName("MacIoctlEvent9");
  EXPECT_FALSE(Query(access, SIM_OID_MAC_EVENT_CREATE, noHandle.bytes.data(),
                     SIM_EVENT_BLOCK_SIZE, &returned));
  EXPECT_EQ(0u, sim.GetState().events);
  CloseHandle(event);
  CloseHandle(access);
}

TEST_F(PrivateRequestsTest, MemoryBlockFollowsAllocateAndFree) {
  ULONG value = 0;
  DWORD returned;
  ASSERT_TRUE(Query(SIM_OID_MAC_MEMORY_SIZE, &value, 4, &returned));
  EXPECT_EQ(4u, returned);
  EXPECT_EQ(SIM_DEFAULT_MEMORY_SIZE, value);

  ASSERT_TRUE(sim.SetMemoryBlock(0x2000, 0x00C30000));
  value = HandleToULong(GetCurrentProcess());
  ASSERT_TRUE(Query(SIM_OID_MAC_MEMORY_ALLOCATE, &value, 4, &returned));
  EXPECT_EQ(4u, returned);
  EXPECT_EQ(0x00C30000u, value);
  ASSERT_TRUE(Query(SIM_OID_MAC_MEMORY_SIZE, &value, 4, &returned));
  EXPECT_EQ(0x2000u, value);
  EXPECT_EQ(1u, sim.GetState().memoryBlocks);

  ASSERT_TRUE(Query(SIM_OID_MAC_MEMORY_FREE, &value, 4, &returned));
  EXPECT_EQ(0u, returned) << "input only: the library counts 0 bytes as success";
  EXPECT_EQ(0u, sim.GetState().memoryBlocks);
  EXPECT_FALSE(Query(SIM_OID_MAC_MEMORY_FREE, &value, 4, &returned)) << "nothing left to free";

  USHORT small = 0;
  EXPECT_FALSE(Query(SIM_OID_MAC_MEMORY_SIZE, &small, 2, &returned));

  // A script replaces the driver's own answer, e.g. a reply of the wrong length.
  ASSERT_TRUE(sim.Answer(kGuid, SIM_OID_MAC_MEMORY_SIZE, std::vector<BYTE>{0x00, 0x10}));
  value = 0;
  ASSERT_TRUE(Query(SIM_OID_MAC_MEMORY_SIZE, &value, 4, &returned));
  EXPECT_EQ(2u, returned);
}

TEST_F(PrivateRequestsTest, QueuesAreHeldUntilDestroyed) {
  ULONG address = 0x00413000;
  DWORD returned;
  ASSERT_TRUE(Query(SIM_OID_MAC_QUEUE_CREATE, &address, 4, &returned));
  EXPECT_EQ(0u, returned);
  EXPECT_EQ(1u, sim.GetState().queues);
  ULONG other = 0x00999000;
  EXPECT_FALSE(Query(SIM_OID_MAC_QUEUE_DESTROY, &other, 4, &returned));
  ASSERT_TRUE(Query(SIM_OID_MAC_QUEUE_DESTROY, &address, 4, &returned));
  EXPECT_EQ(0u, sim.GetState().queues);

  std::vector<sim::LogEntry> log = sim.Log();
  ASSERT_EQ(3u, log.size());
  EXPECT_EQ(std::vector<BYTE>({0x00, 0x30, 0x41, 0x00}), log[0].bufferBefore)
      << "the queue address travels in the buffer";
}

}  // namespace

// The library against the simulated adapter driver: device access on every platform
// (through the access driver on Windows 9x) and enumeration with probing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AdapterRegistry.h"
#include "MacIoctl.h"
#include "SimulatedDriverTest.h"

using namespace librarytest;
using testsupport::VersionUnderTest;
using testsupport::WindowsVersion;

namespace {

const char kAlpha[] = "{7A110000-0000-4000-8000-0000000000A1}";
const BYTE kPoison = 0xA5;

bool OnWin9x() { return VersionUnderTest() == WindowsVersion::Win98; }

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
  std::vector<BYTE> bytes;
  for (int value : values)
    bytes.push_back(static_cast<BYTE>(value));
  return bytes;
}

std::vector<BYTE> Raw(const std::string &text) { return std::vector<BYTE>(text.begin(), text.end()); }

ULONG InputOid(const sim::LogEntry &entry) {
  ULONG oid = 0;
  if (entry.input.size() == sizeof(oid))
    memcpy(&oid, entry.input.data(), sizeof(oid));
  return oid;
}

class DriverTest : public SimulatedDriverTest {
protected:
  void TearDown() override {
    m_registry.Clear();
    SimulatedDriverTest::TearDown();
    EXPECT_TRUE(testsupport::HeapsAreValid());
  }

  // The requests the adapter received, without opens, binds and unbinds.
  std::vector<sim::LogEntry> Queries() {
    std::vector<sim::LogEntry> queries;
    for (const sim::LogEntry &entry : sim.Log())
      if (entry.code == sim::kIoctlQueryGlobalStats)
        queries.push_back(entry);
    return queries;
  }

  AdapterRegistry m_registry;
};

TEST_F(DriverTest, OpenRequestCloseReachTheAdapter) {
  ASSERT_TRUE(sim.AddAdapter(kAlpha, "Radio Alpha"));
  ASSERT_TRUE(sim.AnswerDword(kAlpha, OID_MAC_LINK_STATE, 1));
  BYTE flag = 0xCC;
  HANDLE device = MacOpen(kAlpha, &flag);
  ASSERT_NE(INVALID_HANDLE_VALUE, device);
  EXPECT_EQ(0, flag);
  DWORD link = 4, returned = 0xDEADBEEF;
  EXPECT_EQ(1, MacIoctl(device, OID_MAC_LINK_STATE, &link, sizeof(link), &returned));
  EXPECT_EQ(1u, link);
  EXPECT_EQ(4u, returned);
  EXPECT_NE(0u, MacClose(kAlpha, flag, device));

  std::vector<sim::LogEntry> log = sim.Log();
  std::vector<ULONG> codes;
  for (const sim::LogEntry &entry : log)
    codes.push_back(entry.code);
  if (OnWin9x()) {
    // The access driver is bound to the adapter by name, NUL included, and unbound again.
    std::vector<ULONG> expected{sim::kIoctlBind, sim::kIoctlQueryGlobalStats, sim::kIoctlUnbind};
    ASSERT_EQ(expected, codes);
    EXPECT_EQ(sim::kAccessDevice, log[0].device);
    EXPECT_EQ(std::vector<BYTE>(kAlpha, kAlpha + sizeof(kAlpha)), log[0].input);
    EXPECT_EQ(4u, log[0].bufferSize);
  } else {
    ASSERT_EQ(std::vector<ULONG>{sim::kIoctlQueryGlobalStats}, codes);
    EXPECT_EQ(kAlpha, log[0].device);
  }
  const sim::LogEntry &query = log[OnWin9x() ? 1 : 0];
  EXPECT_EQ(static_cast<ULONG>(OID_MAC_LINK_STATE), InputOid(query));
  EXPECT_EQ(4u, query.bufferSize);
  EXPECT_EQ(Bytes({4, 0, 0, 0}), query.bufferBefore) << "the driver reads the buffer's value";

  // No device: nothing is sent, not even an unbind.
  ASSERT_TRUE(sim.ClearLog());
  MacClose(kAlpha, 0, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(sim.Log().empty());
}

TEST_F(DriverTest, BuffersAndTheBytesReturnedRule) {
  ASSERT_TRUE(sim.AddAdapter(kAlpha));
  sim::Reply four;
  four.bytes = Bytes({1, 2, 3, 4});
  sim::Reply none = four;
  none.leaveBuffer = true;
  none.bytesReturned = 0;
  sim::Reply failed;
  failed.succeed = false;
  static const struct Case {
    const char *what;
    const sim::Reply *reply;
    bool withBuffer, zeroSize, withCount;
    BYTE result;
    DWORD returned;  // when counted
  } cases[] = {
      {"reply counted", &four, true, false, true, 1, 4},
      {"reply uncounted fails: input-only requests expect no data", &four, true, false, false, 0, 0},
      {"no data uncounted succeeds", &none, true, false, false, 1, 0},
      {"null buffer: a private 4-byte buffer", &four, false, false, true, 1, 4},
      {"zero size: a private 4-byte buffer", &four, true, true, true, 1, 4},
      {"failed request", &failed, true, false, true, 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(sim.Answer(kAlpha, OID_MAC_RATE, *c.reply));
    ASSERT_TRUE(sim.ClearLog());
    BYTE flag;
    HANDLE device = MacOpen(kAlpha, &flag);
    ASSERT_NE(INVALID_HANDLE_VALUE, device);
    std::vector<BYTE> buffer(4, kPoison);
    DWORD returned = 0xDEADBEEF;
    EXPECT_EQ(c.result, MacIoctl(device, OID_MAC_RATE, c.withBuffer ? buffer.data() : nullptr,
                                 c.zeroSize ? 0 : 4, c.withCount ? &returned : nullptr));
    MacClose(kAlpha, flag, device);
    if (c.withCount)
      EXPECT_EQ(c.returned, returned);
    std::vector<sim::LogEntry> queries = Queries();
    ASSERT_EQ(1u, queries.size());
    EXPECT_EQ(4u, queries[0].bufferSize);
    // The private buffer's reply never reaches the caller's memory.
    if (!c.withBuffer || c.zeroSize)
      EXPECT_EQ(std::vector<BYTE>(4, kPoison), buffer);
  }
}

TEST_F(DriverTest, LongestAdapterNameOpens) {
  std::string longest(MAC_ADAPTER_NAME_MAX_CHARS, 'N');
  ASSERT_TRUE(sim.AddAdapter(longest));
  BYTE flag;
  HANDLE device = MacOpen(longest.c_str(), &flag);
  EXPECT_NE(INVALID_HANDLE_VALUE, device);
  MacClose(longest.c_str(), flag, device);
}

TEST_F(DriverTest, Win9xRefusedBindLeavesNoHandleOpen) {
  if (!OnWin9x())
    GTEST_SKIP() << "only Windows 9x binds the access driver";
  ASSERT_TRUE(sim.AddAdapter(kAlpha));
  { SCOPED_TRACE("GoogleTest opens a handle at its first trace"); }
  unsigned handlesBefore = testsupport::CountOpenHandles();
  static const struct {
    const char *what;
    ULONG reply;
    bool succeed;
  } cases[] = {{"reply 0", 0, true}, {"request fails", 1, false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(sim.SetBindReply(kAlpha, c.reply, c.succeed));
    BYTE flag = 0xCC;
    EXPECT_EQ(INVALID_HANDLE_VALUE, MacOpen(kAlpha, &flag));
    EXPECT_EQ(0, flag);
  }
  EXPECT_EQ(handlesBefore, testsupport::CountOpenHandles());
}

TEST_F(DriverTest, Win9xRequestsCompleteOverlapped) {
  if (!OnWin9x())
    GTEST_SKIP() << "only Windows 9x requests complete overlapped";
  ASSERT_TRUE(sim.AddAdapter(kAlpha));
  sim::Reply late;
  late.bytes = Bytes({0x0B, 0, 0, 0});
  late.pendingMs = 100;
  sim::Reply lateFailure;
  lateFailure.succeed = false;
  lateFailure.pendingMs = 100;
  BYTE flag;
  HANDLE device = MacOpen(kAlpha, &flag);
  ASSERT_NE(INVALID_HANDLE_VALUE, device);

  ASSERT_TRUE(sim.Answer(kAlpha, OID_MAC_RATE, late));
  DWORD rate = 0, returned = 0;
  EXPECT_EQ(1, MacIoctl(device, OID_MAC_RATE, &rate, sizeof(rate), &returned));
  EXPECT_EQ(0x0Bu, rate);
  EXPECT_EQ(4u, returned);
  ASSERT_TRUE(sim.Answer(kAlpha, OID_MAC_RATE, lateFailure));
  EXPECT_EQ(0, MacIoctl(device, OID_MAC_RATE, &rate, sizeof(rate), &returned));
  MacClose(kAlpha, flag, device);

  std::vector<sim::LogEntry> queries = Queries();
  ASSERT_EQ(2u, queries.size());
  EXPECT_TRUE(queries[0].pended);
  EXPECT_TRUE(queries[1].pended);
}

// Three marked adapters; the driver has the first and the third. Answering adapters come
// first, each adapter once.
TEST_F(DriverTest, EnumerationListsAnsweringAdaptersFirst) {
  std::vector<Entry> marked;
  if (OnWin9x()) {
    // The access driver lists what it has; the class key adds the marked instances the
    // list does not name (the first four characters of a name are its instance key,
    // compared without regard to case).
    ASSERT_TRUE(sim.AddAdapter("0000WLAN", "Radio Alpha"));
    ASSERT_TRUE(sim.AddAdapter("000cWLAN", "Radio Gamma"));
    m_registry.AddAdapter("0000", "unused", "Alpha in the registry");
    m_registry.AddAdapter("0001", "unused", "Radio Beta");
    m_registry.AddAdapter("000C", "unused", "Gamma in the registry");
    std::string classKey = std::string(kWin9xClassKey) + "\\";
    marked = {{"0000WLAN", "Radio Alpha", classKey + "0000"},
              {"000cWLAN", "Radio Gamma", classKey + "000c"},
              {"0001", "[0001] Radio Beta", classKey + "0001"}};
  } else {
    Entry alpha = m_registry.AddAdapter("9990", "{TARNU-ALPHA}", "Radio Alpha");
    Entry beta = m_registry.AddAdapter("9991", "{TARNU-BETA}", "Radio Beta");
    Entry gamma = m_registry.AddAdapter("9992", "{TARNU-GAMMA}", "Radio Gamma");
    ASSERT_TRUE(sim.AddAdapter(alpha.adapterName));
    ASSERT_TRUE(sim.AddAdapter(gamma.adapterName));
    marked = {alpha, gamma, beta};
  }
  ASSERT_TRUE(sim.ClearLog());
  EXPECT_EQ(marked, GetNamesEx(true));
  // Registry keys, probed devices and the access driver are all closed again.
  unsigned handlesBefore = testsupport::CountOpenHandles();
  std::vector<Entry> answering(marked.begin(), marked.begin() + 2);
  EXPECT_EQ(answering, GetNamesEx(false));
  for (Entry &entry : answering)
    entry.keyPath.clear();
  EXPECT_EQ(answering, GetNames());

  // Searches see the same list.
  char text[260] = "";
  EXPECT_EQ(1, MacFindFirstMatch(text));
  EXPECT_EQ(marked[0].adapterName, text);
  strcpy(text, "Gamma");
  EXPECT_EQ(1, MacFindFirstMatch(text));
  EXPECT_EQ(marked[1].adapterName, text);
  strcpy(text, "gamma");
  EXPECT_EQ(0, MacFindFirstMatch(text));
  EXPECT_STREQ("gamma", text);
  char name[260] = "", description[260] = "Beta", keyPath[260] = "";
  EXPECT_EQ(0, MacFindFirstMatchEx(name, description, keyPath, FALSE));
  EXPECT_EQ(1, MacFindFirstMatchEx(name, description, keyPath, TRUE));
  EXPECT_EQ(marked[2].adapterName, name);
  EXPECT_EQ(marked[2].keyPath, keyPath);

  EXPECT_EQ(handlesBefore, testsupport::CountOpenHandles());

  // A probe is an open and a close: it sends the adapter no request.
  EXPECT_TRUE(Queries().empty());
}

TEST_F(DriverTest, Win9xAccessDriverListFailures) {
  if (!OnWin9x())
    GTEST_SKIP() << "only Windows 9x asks the access driver";
  ASSERT_TRUE(sim.AddAdapter("0000WLAN", "Radio Alpha"));
  const std::string alphaPath = std::string(kWin9xClassKey) + "\\0000";

  ASSERT_TRUE(sim.SetListFails(true));
  EXPECT_TRUE(GetNames().empty());
  ASSERT_TRUE(sim.SetListFails(false));
  ASSERT_TRUE(sim.SetAccessDriverPresent(false));
  EXPECT_TRUE(GetNames().empty());
  ASSERT_TRUE(sim.SetAccessDriverPresent(true));

  static const struct {
    const char *what;
    std::string reply;
    std::vector<Entry> expected;
  } cases[] = {
      {"one byte only", std::string(1, 'x'), {}},
      {"empty first name", std::string("\0\0Radio\0", 8), {}},
      {"no closing empty name", std::string("0000WLAN\0Radio Alpha\0", 21),
       {{"0000WLAN", "Radio Alpha", alphaPath}}},
      {"a name longer than callers can hold",
       std::string(256, 'L') + std::string("\0Long\0", 6) +
           std::string("0000WLAN\0Radio Alpha\0\0", 22),
       {{"0000WLAN", "Radio Alpha", alphaPath}}},
      {"no NUL at all", std::string(1000, 'x'), {}},
      // Longer than the library's 2048-byte buffer: the driver fills it completely.
      {"fills the whole buffer without a NUL", std::string(3000, 'x'), {}},
      {"fills the whole buffer after a good pair",
       std::string("0000WLAN\0Radio Alpha\0", 21) + std::string(3000, 'y'),
       {{"0000WLAN", "Radio Alpha", alphaPath}}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(sim.SetListReply(Raw(c.reply)));
    EXPECT_EQ(c.expected, GetNamesEx(false));
  }
}

} // namespace

// The simulated adapter driver seen from a client program: real CreateFileA and
// DeviceIoControl on its adapter devices, its access device and its control device.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SimulatedDriverTest.h"
#include "SimProtocol.h"
#include "TestSupport.h"

namespace {

const char kGuid[] = "{6A2B0C1D-11E2-4F3A-9B8C-7D6E5F403122}";
const char kOther[] = "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}";
const ULONG kLinkOid = 0xFF010199u;
const ULONG kLevelOid = 0xFF02019Eu;
const ULONG kStatusUnsuccessful = 0xC0000001u;
const ULONG kStatusNotSupported = 0xC00000BBu;
const BYTE kPoison = 0xA5;

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
  std::vector<BYTE> bytes;
  for (int v : values)
    bytes.push_back(static_cast<BYTE>(v));
  return bytes;
}

std::vector<BYTE> OidBytes(ULONG oid) {
  std::vector<BYTE> bytes(4);
  memcpy(bytes.data(), &oid, 4);
  return bytes;
}

// An open of "\\.\" + name, closed at the end of the scope.
class Device {
 public:
  explicit Device(const std::string &name, DWORD flags = FILE_ATTRIBUTE_NORMAL)
      : m_handle(CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ, 0, nullptr,
                             OPEN_EXISTING, flags, nullptr)) {}
  ~Device() {
    if (IsOpen())
      CloseHandle(m_handle);
  }
  Device(const Device &) = delete;
  Device &operator=(const Device &) = delete;
  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
  HANDLE Handle() const { return m_handle; }

  // One synchronous request; returned gets the bytes returned.
  bool Request(ULONG code, const void *input, DWORD inputSize, void *output, DWORD outputSize,
               DWORD *returned) {
    *returned = 0xDEADBEEF;
    return DeviceIoControl(m_handle, code, const_cast<void *>(input), inputSize, output,
                           outputSize, returned, nullptr) != FALSE;
  }
  bool Query(ULONG oid, std::vector<BYTE> *buffer, DWORD *returned) {
    return Request(sim::kIoctlQueryGlobalStats, &oid, sizeof(oid),
                   buffer->empty() ? nullptr : buffer->data(),
                   static_cast<DWORD>(buffer->size()), returned);
  }
  bool Bind(const std::string &adapter, ULONG *reply) {
    DWORD returned;
    *reply = 0;
    return Request(sim::kIoctlBind, adapter.c_str(), static_cast<DWORD>(adapter.size() + 1),
                   reply, sizeof(*reply), &returned);
  }

 private:
  HANDLE m_handle;
};

class SimDriverTest : public SimulatedDriverTest {};

TEST_F(SimDriverTest, AdapterIsReachableOnlyWhilePresent) {
  EXPECT_FALSE(Device(kGuid).IsOpen());
  ASSERT_TRUE(sim.AddAdapter(kGuid, "Wireless adapter"));
  EXPECT_FALSE(sim.AddAdapter(kGuid)) << "a name is present once";
  ASSERT_TRUE(sim.AnswerDword(kGuid, kLinkOid, 1));

  Device before(kGuid);
  ASSERT_TRUE(before.IsOpen());
  std::vector<BYTE> buffer(4, 0);
  DWORD returned;
  EXPECT_TRUE(before.Query(kLinkOid, &buffer, &returned));

  // Removal fails new opens and requests on handles opened before it.
  ASSERT_TRUE(sim.RemoveAdapter(kGuid));
  EXPECT_FALSE(sim.RemoveAdapter(kGuid));
  EXPECT_FALSE(Device(kGuid).IsOpen());
  EXPECT_FALSE(before.Query(kLinkOid, &buffer, &returned));

  // The same name added again is a new adapter: the old handle stays dead, scripts stay.
  ASSERT_TRUE(sim.AddAdapter(kGuid));
  Device after(kGuid);
  ASSERT_TRUE(after.IsOpen());
  EXPECT_TRUE(after.Query(kLinkOid, &buffer, &returned));
  EXPECT_FALSE(before.Query(kLinkOid, &buffer, &returned));
}

TEST_F(SimDriverTest, NamesOfEveryPlatformOpen) {
  for (const char *name : {kGuid, "TarnuW1", "TARN"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(sim.AddAdapter(name));
    EXPECT_TRUE(Device(name).IsOpen());
  }
  for (const char *bad : {"", "with space", "back\\slash", "TARNUIOC", "TARNUSIM"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(sim.AddAdapter(bad));
  }
  EXPECT_FALSE(sim.AddAdapter(std::string(128, 'N'))) << "name field holds 127 characters";
  EXPECT_TRUE(sim.AddAdapter(std::string(123, 'N'))) << "the longest name the library opens";
  EXPECT_EQ(4u, sim.GetState().adapters);
}

TEST_F(SimDriverTest, ScriptedRepliesAndFailures) {
  ASSERT_TRUE(sim.AddAdapter(kGuid));
  sim::Reply plain;
  plain.bytes = Bytes({1, 2, 3, 4});
  sim::Reply longer = plain;
  longer.bytes = Bytes({1, 2, 3, 4, 5, 6, 7, 8});
  sim::Reply counted = plain;
  counted.bytesReturned = 2;
  sim::Reply counted_past_buffer = plain;
  counted_past_buffer.bytesReturned = 100;
  sim::Reply left = plain;
  left.leaveBuffer = true;
  sim::Reply refused;
  refused.succeed = false;
  sim::Reply refused_with_bytes = plain;
  refused_with_bytes.succeed = false;
  refused_with_bytes.status = 0x80000005u;  // STATUS_BUFFER_OVERFLOW: data still delivered

  const std::vector<BYTE> P4 = Bytes({kPoison, kPoison, kPoison, kPoison});
  static const struct Case {
    const char *what;
    const sim::Reply *reply;
    bool succeeds;
    DWORD returned;
    std::vector<BYTE> buffer;
  } cases[] = {
      {"bytes written and counted", &plain, true, 4, Bytes({1, 2, 3, 4})},
      {"never past the buffer", &longer, true, 4, Bytes({1, 2, 3, 4})},
      {"count given", &counted, true, 2, Bytes({1, 2, 3, 4})},
      {"count capped at the buffer", &counted_past_buffer, true, 4, Bytes({1, 2, 3, 4})},
      {"buffer left, count reported", &left, true, 4, P4},
      {"failure leaves the buffer", &refused, false, 0, P4},
      {"failure with a warning status delivers bytes", &refused_with_bytes, false, 4,
       Bytes({1, 2, 3, 4})},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(sim.Answer(kGuid, kLevelOid, *c.reply));
    Device device(kGuid);
    std::vector<BYTE> buffer(4, kPoison);
    DWORD returned;
    EXPECT_EQ(c.succeeds, device.Query(kLevelOid, &buffer, &returned));
    if (c.succeeds || c.reply->status)
      EXPECT_EQ(c.returned, returned);
    EXPECT_EQ(c.buffer, buffer);
  }

  // An OID nobody scripted, or one scripted and forgotten again, fails untouched.
  ASSERT_TRUE(sim.Forget(kGuid, kLevelOid));
  Device device(kGuid);
  std::vector<BYTE> buffer(4, kPoison);
  DWORD returned;
  EXPECT_FALSE(device.Query(kLevelOid, &buffer, &returned));
  EXPECT_FALSE(device.Query(0x00010110u, &buffer, &returned));
  EXPECT_EQ(P4, buffer);
  // Scripts belong to one adapter.
  ASSERT_TRUE(sim.AddAdapter(kOther));
  ASSERT_TRUE(sim.AnswerDword(kGuid, kLinkOid, 1));
  EXPECT_FALSE(Device(kOther).Query(kLinkOid, &buffer, &returned));
}

TEST_F(SimDriverTest, LogTellsWhatEachRequestCarriedAndGot) {
  ASSERT_TRUE(sim.AddAdapter(kGuid));
  ASSERT_TRUE(sim.AnswerDword(kGuid, kLinkOid, 1));
  Device first(kGuid), second(kGuid);
  std::vector<BYTE> buffer = Bytes({4, 0, 0, 0, 9});
  DWORD returned;
  ASSERT_TRUE(first.Query(kLinkOid, &buffer, &returned));
  std::vector<BYTE> big(600, 0x3C);
  EXPECT_FALSE(second.Query(kLevelOid, &big, &returned));
  DWORD noOid = 7;
  EXPECT_FALSE(second.Request(sim::kIoctlQueryGlobalStats, &noOid, 2, big.data(), 4, &returned));

  std::vector<sim::LogEntry> log = sim.Log();
  ASSERT_EQ(3u, log.size());
  EXPECT_EQ(kGuid, log[0].device);
  EXPECT_EQ(sim::kIoctlQueryGlobalStats, log[0].code);
  EXPECT_EQ(kLinkOid, log[0].oid);
  EXPECT_EQ(OidBytes(kLinkOid), log[0].input);
  EXPECT_EQ(5u, log[0].bufferSize);
  EXPECT_EQ(Bytes({4, 0, 0, 0, 9}), log[0].bufferBefore);
  EXPECT_EQ(0u, log[0].status);
  EXPECT_EQ(4u, log[0].bytesReturned);
  EXPECT_FALSE(log[0].pended);

  EXPECT_NE(log[0].handle, log[1].handle) << "one id per open";
  EXPECT_EQ(kLevelOid, log[1].oid);
  EXPECT_EQ(600u, log[1].bufferSize);
  EXPECT_EQ(big, log[1].bufferBefore);
  EXPECT_EQ(kStatusNotSupported, log[1].status);

  EXPECT_EQ(log[1].handle, log[2].handle);
  EXPECT_EQ(2u, log[2].inputSize) << "a short input is no OID";
  EXPECT_EQ(0u, log[2].oid);

  ASSERT_TRUE(sim.ClearLog());
  EXPECT_TRUE(sim.Log().empty());
}

TEST_F(SimDriverTest, OpensAndClosesAreLoggedOnRequest) {
  ASSERT_TRUE(sim.AddAdapter(kGuid));
  ASSERT_TRUE(sim.LogOpens(true));
  { Device device(kGuid); }
  std::vector<sim::LogEntry> log;
  for (int tries = 0; tries < 200 && log.size() < 2; ++tries, Sleep(10))
    log = sim.Log();  // the close reaches the driver after CloseHandle returns
  EXPECT_TRUE(sim.LogOpens(false));
  ASSERT_EQ(2u, log.size());
  EXPECT_EQ(sim::kCodeOpen, log[0].code);
  EXPECT_EQ(sim::kCodeClose, log[1].code);
  EXPECT_EQ(log[0].handle, log[1].handle);
  EXPECT_EQ(0u, sim.GetState().openHandles);
}

TEST_F(SimDriverTest, PendingReplyCompletesOnASynchronousHandle) {
  ASSERT_TRUE(sim.AddAdapter(kGuid));
  sim::Reply slow;
  slow.bytes = Bytes({7});
  slow.pendingMs = 200;
  ASSERT_TRUE(sim.Answer(kGuid, kLevelOid, slow));
  Device device(kGuid);
  std::vector<BYTE> buffer(1, 0);
  DWORD returned;
  DWORD start = GetTickCount();
  ASSERT_TRUE(device.Query(kLevelOid, &buffer, &returned));
  EXPECT_GE(GetTickCount() - start, 150u);
  EXPECT_EQ(1u, returned);
  EXPECT_EQ(7, buffer[0]);
  std::vector<sim::LogEntry> log = sim.Log();
  ASSERT_EQ(1u, log.size());
  EXPECT_TRUE(log[0].pended);
}

// ---- the Windows 9x access driver ----

TEST_F(SimDriverTest, AccessDriverBindsEachHandleToOneAdapter) {
  ASSERT_TRUE(sim.AddAdapter("TARN", "Wireless"));
  ASSERT_TRUE(sim.AddAdapter("OTHR", "Wired"));
  ASSERT_TRUE(sim.AnswerDword("TARN", kLinkOid, 1));
  ASSERT_TRUE(sim.AnswerDword("OTHR", kLinkOid, 2));

  Device first(sim::kAccessDevice), second(sim::kAccessDevice);
  ASSERT_TRUE(first.IsOpen());
  ASSERT_TRUE(second.IsOpen());
  std::vector<BYTE> buffer(4, 0);
  DWORD returned;
  EXPECT_FALSE(first.Query(kLinkOid, &buffer, &returned)) << "not bound yet";

  ULONG reply;
  ASSERT_TRUE(first.Bind("TARN", &reply));
  EXPECT_EQ(1u, reply);
  ASSERT_TRUE(second.Bind("OTHR", &reply));
  ASSERT_TRUE(first.Query(kLinkOid, &buffer, &returned));
  EXPECT_EQ(Bytes({1, 0, 0, 0}), buffer);
  ASSERT_TRUE(second.Query(kLinkOid, &buffer, &returned));
  EXPECT_EQ(Bytes({2, 0, 0, 0}), buffer);

  EXPECT_TRUE(first.Request(sim::kIoctlUnbind, nullptr, 0, nullptr, 0, &returned));
  EXPECT_FALSE(first.Query(kLinkOid, &buffer, &returned));

  // Hot removal reaches bound handles too.
  ASSERT_TRUE(sim.RemoveAdapter("OTHR"));
  EXPECT_FALSE(second.Query(kLinkOid, &buffer, &returned));

  std::vector<sim::LogEntry> log = sim.Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(sim::kAccessDevice, log[0].device);
  EXPECT_EQ(sim::kIoctlQueryGlobalStats, log[0].code);
  EXPECT_EQ(sim::kIoctlBind, log[1].code);
  EXPECT_EQ(Bytes({'T', 'A', 'R', 'N', 0}), log[1].input);
  EXPECT_EQ(4u, log[1].bufferSize);
}

TEST_F(SimDriverTest, BindRepliesAndRefusals) {
  ASSERT_TRUE(sim.AddAdapter("TARN"));
  static const struct {
    const char *what;
    bool script;
    ULONG scripted;
    bool scriptSucceeds;
    std::string input;  // sent as is, NUL included where wanted
    bool succeeds;
    ULONG reply;
  } cases[] = {
      {"default reply", false, 0, true, std::string("TARN", 5), true, 1},
      {"scripted reply", true, 0x55, true, std::string("TARN", 5), true, 0x55},
      {"reply 0", true, 0, true, std::string("TARN", 5), true, 0},
      {"refusal", true, 1, false, std::string("TARN", 5), false, 0},
      {"absent adapter", false, 0, true, std::string("NONE", 5), false, 0},
      {"name without its NUL", false, 0, true, std::string("TARN", 4), false, 0},
      {"no input", false, 0, true, std::string(), false, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(sim.Reset());
    ASSERT_TRUE(sim.AddAdapter("TARN"));
    if (c.script)
      ASSERT_TRUE(sim.SetBindReply("TARN", c.scripted, c.scriptSucceeds));
    Device device(sim::kAccessDevice);
    ULONG reply = 0;
    DWORD returned;
    EXPECT_EQ(c.succeeds, device.Request(sim::kIoctlBind, c.input.data(),
                                         static_cast<DWORD>(c.input.size()), &reply,
                                         sizeof(reply), &returned));
    EXPECT_EQ(c.reply, reply);
  }
}

TEST_F(SimDriverTest, AdapterListReply) {
  Device device(sim::kAccessDevice);
  std::vector<char> buffer(64, 'x');
  DWORD returned;
  ASSERT_TRUE(device.Request(sim::kIoctlListAdapters, nullptr, 0, buffer.data(), 64, &returned));
  EXPECT_EQ(1u, returned) << "no adapters: just the empty name";
  EXPECT_EQ(0, buffer[0]);

  ASSERT_TRUE(sim.AddAdapter("TRN1", "First card"));
  ASSERT_TRUE(sim.AddAdapter("TRN0", "Second card"));
  ASSERT_TRUE(sim.AddAdapter("TRN2", "Gone"));
  ASSERT_TRUE(sim.RemoveAdapter("TRN2"));
  const std::string expected("TRN1\0First card\0TRN0\0Second card\0\0", 34);
  ASSERT_TRUE(device.Request(sim::kIoctlListAdapters, nullptr, 0, buffer.data(), 64, &returned));
  EXPECT_EQ(expected, std::string(buffer.data(), returned)) << "in the order added";

  // Never past the caller's buffer, even if that cuts the list short.
  std::fill(buffer.begin(), buffer.end(), 'x');
  ASSERT_TRUE(device.Request(sim::kIoctlListAdapters, nullptr, 0, buffer.data(), 7, &returned));
  EXPECT_EQ(expected.substr(0, 7), std::string(buffer.data(), returned));
  EXPECT_EQ('x', buffer[7]);

  const std::vector<BYTE> raw = Bytes({'A', 'B', 0, 'd', 0, 'Z', 'Z', 'Z'});
  ASSERT_TRUE(sim.SetListReply(raw));
  ASSERT_TRUE(device.Request(sim::kIoctlListAdapters, nullptr, 0, buffer.data(), 64, &returned));
  EXPECT_EQ(std::string(raw.begin(), raw.end()), std::string(buffer.data(), returned));

  ASSERT_TRUE(sim.SetListFails(true));
  std::fill(buffer.begin(), buffer.end(), 'x');
  EXPECT_FALSE(device.Request(sim::kIoctlListAdapters, nullptr, 0, buffer.data(), 64, &returned));
  EXPECT_EQ('x', buffer[0]);
  ASSERT_TRUE(sim.SetListFails(false));
  ASSERT_TRUE(sim.UseAdapterList());
  ASSERT_TRUE(device.Request(sim::kIoctlListAdapters, nullptr, 0, buffer.data(), 64, &returned));
  EXPECT_EQ(expected, std::string(buffer.data(), returned));
}

TEST_F(SimDriverTest, AccessDriverOpensAsTheLibraryOpensIt) {
  // The list walk opens it overlapped and delete-on-close, sharing read and write.
  HANDLE handle = CreateFileA("\\\\.\\TARNUIOC", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, handle);
  CloseHandle(handle);
  ASSERT_TRUE(sim.SetAccessDriverPresent(false));
  EXPECT_FALSE(Device(sim::kAccessDevice).IsOpen());
  ASSERT_TRUE(sim.SetAccessDriverPresent(true));
  EXPECT_TRUE(Device(sim::kAccessDevice).IsOpen());
}

TEST_F(SimDriverTest, PendingRequestCompletesThroughTheOverlappedRecord) {
  ASSERT_TRUE(sim.AddAdapter("TARN"));
  sim::Reply slow;
  slow.bytes = Bytes({9, 8});
  slow.pendingMs = 100;
  ASSERT_TRUE(sim.Answer("TARN", kLevelOid, slow));
  sim::Reply slowFailure;
  slowFailure.succeed = false;
  slowFailure.pendingMs = 50;
  ASSERT_TRUE(sim.Answer("TARN", kLinkOid, slowFailure));

  Device device(sim::kAccessDevice, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED);
  ULONG reply;
  ASSERT_TRUE(device.Bind("TARN", &reply));

  for (ULONG oid : {kLevelOid, kLinkOid}) {
    SCOPED_TRACE(oid);
    OVERLAPPED overlapped = {};
    overlapped.hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    BYTE buffer[4] = {kPoison, kPoison, kPoison, kPoison};
    DWORD returned = 0;
    EXPECT_FALSE(DeviceIoControl(device.Handle(), sim::kIoctlQueryGlobalStats, &oid,
                                 sizeof(oid), buffer, sizeof(buffer), &returned, &overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), GetLastError());
    BOOL done = GetOverlappedResult(device.Handle(), &overlapped, &returned, TRUE);
    if (oid == kLevelOid) {
      EXPECT_TRUE(done);
      EXPECT_EQ(2u, returned);
      EXPECT_EQ(9, buffer[0]);
      EXPECT_EQ(8, buffer[1]);
      EXPECT_EQ(kPoison, buffer[2]);
    } else {
      EXPECT_FALSE(done);
      EXPECT_EQ(kPoison, buffer[0]);
    }
    CloseHandle(overlapped.hEvent);
  }
  EXPECT_EQ(0u, sim.GetState().pending);
}

TEST_F(SimDriverTest, ResetCancelsRequestsStillPending) {
  ASSERT_TRUE(sim.AddAdapter("TARN"));
  sim::Reply never;
  never.pendingMs = 60000;
  ASSERT_TRUE(sim.Answer("TARN", kLevelOid, never));
  Device device(sim::kAccessDevice, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED);
  ULONG reply;
  ASSERT_TRUE(device.Bind("TARN", &reply));
  OVERLAPPED overlapped = {};
  overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ULONG oid = kLevelOid;
  BYTE buffer[4];
  DWORD returned;
  EXPECT_FALSE(DeviceIoControl(device.Handle(), sim::kIoctlQueryGlobalStats, &oid, sizeof(oid),
                               buffer, sizeof(buffer), &returned, &overlapped));
  EXPECT_EQ(1u, sim.GetState().pending);
  ASSERT_TRUE(sim.Reset());
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(overlapped.hEvent, 5000));
  EXPECT_FALSE(GetOverlappedResult(device.Handle(), &overlapped, &returned, FALSE));
  EXPECT_EQ(0u, sim.GetState().pending);
  CloseHandle(overlapped.hEvent);
}

// ---- control device ----

TEST_F(SimDriverTest, MalformedControlRequestsChangeNothing) {
  HANDLE control = CreateFileA("\\\\.\\TARNUSIM", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, control);
  std::vector<BYTE> record(sizeof(SIM_REPLY) + 1, 'A');  // names never terminated
  DWORD returned;
  static const struct {
    ULONG code;
    DWORD size;
  } cases[] = {
      {SIM_IOCTL_ADD_ADAPTER, sizeof(SIM_ADAPTER) - 1},
      {SIM_IOCTL_ADD_ADAPTER, sizeof(SIM_ADAPTER) + 1},
      {SIM_IOCTL_ADD_ADAPTER, sizeof(SIM_ADAPTER)},
      {SIM_IOCTL_SET_REPLY, sizeof(SIM_REPLY) - 1},
      {SIM_IOCTL_SET_REPLY, sizeof(SIM_REPLY)},
      {SIM_IOCTL_SET_BIND_REPLY, sizeof(SIM_BIND_REPLY)},
      {SIM_IOCTL_SET_LIST, sizeof(SIM_LIST)},  // byteCount far past the list
      {SIM_IOCTL_SET_OPTIONS, sizeof(SIM_OPTIONS)},  // unknown flags
      {SIM_IOCTL_SIGNAL_EVENT, sizeof(SIM_EVENT_NAME)},
      {SIM_IOCTL_READ_LOG, 2},
      {SIM_CONTROL_CODE(99), 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.code << " size " << std::dec << c.size);
    EXPECT_FALSE(DeviceIoControl(control, c.code, record.data(), c.size, record.data(),
                                 static_cast<DWORD>(record.size()), &returned, nullptr));
  }
  sim::State state = sim.GetState();
  EXPECT_EQ(0u, state.adapters);
  EXPECT_FALSE(Device("AAAA").IsOpen());
  EXPECT_TRUE(Device(sim::kAccessDevice).IsOpen()) << "options unchanged";
  CloseHandle(control);

  // Oversized client inputs are refused before they reach the driver.
  sim::Reply huge;
  huge.bytes.resize(SIM_REPLY_BYTES + 1);
  EXPECT_FALSE(sim.Answer("TARN", kLevelOid, huge));
  EXPECT_FALSE(sim.SetListReply(std::vector<BYTE>(SIM_LIST_BYTES + 1)));
}

}  // namespace

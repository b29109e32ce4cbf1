// Test client of the simulated adapter driver: scripts its adapters and answers and
// reads back what it received, through the driver's control device.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sim {

// Reply::bytesReturned default: report as many bytes as were written.
constexpr ULONG kBytesOfReply = 0xFFFFFFFFu;

// Log entries for opens and closes carry these codes (only with LogOpens(true)).
constexpr ULONG kCodeOpen = 0xFFFF0001u;
constexpr ULONG kCodeClose = 0xFFFF0002u;

// The requests of the adapter's driver and of the Windows 9x access driver.
constexpr ULONG kIoctlQueryGlobalStats = 0x00170002u;
constexpr ULONG kIoctlBind = 0x0B0B000Cu;
constexpr ULONG kIoctlUnbind = 0x0B0B0010u;
constexpr ULONG kIoctlListAdapters = 0x0B0B0014u;
constexpr const char *kAccessDevice = "TARNUIOC";

struct Reply {                          // one scripted answer
  std::vector<BYTE> bytes;              // written at the start of the caller's buffer (never past its size)
  ULONG bytesReturned = kBytesOfReply;  // reported count, never above the buffer size;
                                        // default: bytes.size() (capped at buffer size)
  bool succeed = true;                  // false: the request fails, buffer untouched unless bytes given
  bool leaveBuffer = false;             // true: nothing written, bytesReturned still reported
  ULONG pendingMs = 0;                  // >0: return STATUS_PENDING, complete after this delay
  ULONG status = 0;                     // NTSTATUS to answer; 0: success or STATUS_UNSUCCESSFUL
};

struct LogEntry {
  std::string device;              // adapter name, or "TARNUIOC" for the access driver
  ULONG handle = 0;                // id of the open (one per CreateFile)
  ULONG code = 0;                  // the IOCTL code (or kCodeOpen / kCodeClose)
  ULONG oid = 0;                   // for 0x00170002, else 0
  std::vector<BYTE> input;         // input bytes (name for bind, OID for queries), first 256
  ULONG inputSize = 0;             // whole input length
  ULONG bufferSize = 0;            // caller's output buffer size
  std::vector<BYTE> bufferBefore;  // its starting contents (first up to 640 bytes; empty
                                   // for buffered requests, whose output starts as the input)
  ULONG status = 0;                // NTSTATUS answered
  ULONG bytesReturned = 0;         // Information answered
  bool pended = false;
};

// What the driver holds right now. Closes reach the driver after CloseHandle returns,
// so openHandles may lag behind by a moment.
struct State {
  ULONG adapters = 0;
  ULONG openHandles = 0;
  ULONG events = 0;
  ULONG queues = 0;
  ULONG memoryBlocks = 0;
  ULONG pending = 0;
  ULONG logLost = 0;
};

// Installs and starts the driver service in the prefix; "" on success, else what failed.
// Already running is fine: the service lives as long as the prefix's wineserver.
std::string InstallDriver();

class Client {  // opens the control device
 public:
  Client();
  ~Client();
  Client(const Client &) = delete;
  Client &operator=(const Client &) = delete;

  bool IsOpen() const;
  bool Reset();  // no adapters, no scripts, empty log, defaults

  // name: braced GUID, service name or short name (printable, no '\', < 128 chars).
  bool AddAdapter(const std::string &name, const std::string &description = "");
  bool RemoveAdapter(const std::string &name);

  // Scripts answer the adapter's queries, on its own device and through the access
  // driver; they stay across removal and re-adding of the adapter. A scripted private
  // OID overrides the driver's own handling of it.
  bool Answer(const std::string &adapter, ULONG oid, const Reply &reply);
  bool Answer(const std::string &adapter, ULONG oid, const std::vector<BYTE> &bytes);
  bool AnswerDword(const std::string &adapter, ULONG oid, DWORD value);
  bool Forget(const std::string &adapter, ULONG oid);  // unscripted again: the OID fails

  // Access driver (Windows 9x side).
  bool SetBindReply(const std::string &adapter, ULONG reply, bool succeed = true);  // default reply 1
  bool SetListReply(const std::vector<BYTE> &raw);  // raw list reply
  bool SetListFails(bool fail);
  bool UseAdapterList();                            // back to the list built from present adapters
  bool SetAccessDriverPresent(bool present);        // false: opens of "\\.\TARNUIOC" fail

  // Private requests.
  bool SetEventUnopenable(bool unopenable);  // NT: the driver's events cannot be opened by name
  bool SignalEvent(const std::string &name);  // e.g. "MacIoctlEvent1"
  bool SetMemoryBlock(ULONG size, ULONG value);

  bool LogOpens(bool log);
  std::vector<LogEntry> Log();
  bool ClearLog();
  State GetState();

 private:
  bool Control(ULONG code, const void *input, DWORD inputSize, void *output = nullptr,
               DWORD outputSize = 0);
  bool ChangeOptions(ULONG flags, bool set);
  bool SetList(ULONG mode, const std::vector<BYTE> &raw);

  HANDLE m_device;
};

}  // namespace sim

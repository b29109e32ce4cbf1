#include "SimClient.h"

#include <algorithm>
#include <cstring>

#include "SimProtocol.h"
#include "TestSupport.h"

namespace sim {

namespace {

// Copies text into a fixed field; false when it does not fit with its NUL.
bool CopyField(char *field, size_t capacity, const std::string &text) {
  if (text.size() >= capacity)
    return false;
  memset(field, 0, capacity);
  memcpy(field, text.data(), text.size());
  return true;
}

}  // namespace

namespace {

bool DriverIsRunning() {
  bool running = false;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service =
      manager ? OpenServiceA(manager, SIM_SERVICE_NAME, SERVICE_QUERY_STATUS) : nullptr;
  SERVICE_STATUS status;
  if (service && QueryServiceStatus(service, &status))
    running = status.dwCurrentState == SERVICE_RUNNING;
  if (service)
    CloseServiceHandle(service);
  if (manager)
    CloseServiceHandle(manager);
  return running;
}

}  // namespace

std::string InstallDriver() {
  std::string built = testsupport::PathBesideProgram(SIM_SERVICE_NAME ".sys");
  // A prefix kept from an earlier build holds an older driver file: refresh it
  // whenever the driver is not loaded yet.
  if (!DriverIsRunning()) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof(system));
    std::string installed = std::string(system) + "\\drivers\\" SIM_SERVICE_NAME ".sys";
    if (!CopyFileA(built.c_str(), installed.c_str(), FALSE))
      return "cannot copy " + built + " (error " + std::to_string(GetLastError()) + ")";
  }
  return testsupport::InstallKernelDriver(SIM_SERVICE_NAME, built.c_str());
}

Client::Client()
    : m_device(CreateFileA("\\\\.\\" SIM_CONTROL_DEVICE_NAME, GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {}

Client::~Client() {
  if (IsOpen())
    CloseHandle(m_device);
}

bool Client::IsOpen() const { return m_device != INVALID_HANDLE_VALUE; }

bool Client::Control(ULONG code, const void *input, DWORD inputSize, void *output,
                     DWORD outputSize) {
  DWORD returned = 0;
  return IsOpen() && DeviceIoControl(m_device, code, const_cast<void *>(input), inputSize,
                                     output, outputSize, &returned, nullptr);
}

bool Client::Reset() { return Control(SIM_IOCTL_RESET, nullptr, 0); }

bool Client::AddAdapter(const std::string &name, const std::string &description) {
  SIM_ADAPTER request;
  if (!CopyField(request.name, sizeof(request.name), name) ||
      !CopyField(request.description, sizeof(request.description), description))
    return false;
  return Control(SIM_IOCTL_ADD_ADAPTER, &request, sizeof(request));
}

bool Client::RemoveAdapter(const std::string &name) {
  SIM_ADAPTER request = {};
  if (!CopyField(request.name, sizeof(request.name), name))
    return false;
  return Control(SIM_IOCTL_REMOVE_ADAPTER, &request, sizeof(request));
}

bool Client::Answer(const std::string &adapter, ULONG oid, const Reply &reply) {
  // The record is over a kilobyte: keep it off the stack of deep test code.
  std::vector<SIM_REPLY> record(1);
  SIM_REPLY &request = record[0];
  memset(&request, 0, sizeof(request));
  if (!CopyField(request.adapter, sizeof(request.adapter), adapter) ||
      reply.bytes.size() > sizeof(request.bytes))
    return false;
  request.oid = oid;
  request.flags = (reply.succeed ? SIM_REPLY_SUCCEED : 0) |
                  (reply.leaveBuffer ? SIM_REPLY_LEAVE_BUFFER : 0) |
                  (reply.bytesReturned != kBytesOfReply ? SIM_REPLY_COUNT_GIVEN : 0);
  request.bytesReturned = reply.bytesReturned != kBytesOfReply ? reply.bytesReturned : 0;
  request.pendingMs = reply.pendingMs;
  request.status = reply.status;
  request.byteCount = static_cast<ULONG>(reply.bytes.size());
  if (!reply.bytes.empty())
    memcpy(request.bytes, reply.bytes.data(), reply.bytes.size());
  return Control(SIM_IOCTL_SET_REPLY, &request, sizeof(request));
}

bool Client::Answer(const std::string &adapter, ULONG oid, const std::vector<BYTE> &bytes) {
  Reply reply;
  reply.bytes = bytes;
  return Answer(adapter, oid, reply);
}

bool Client::AnswerDword(const std::string &adapter, ULONG oid, DWORD value) {
  std::vector<BYTE> bytes(sizeof(value));
  memcpy(bytes.data(), &value, sizeof(value));
  return Answer(adapter, oid, bytes);
}

bool Client::Forget(const std::string &adapter, ULONG oid) {
  std::vector<SIM_REPLY> record(1);
  SIM_REPLY &request = record[0];
  memset(&request, 0, sizeof(request));
  if (!CopyField(request.adapter, sizeof(request.adapter), adapter))
    return false;
  request.oid = oid;
  return Control(SIM_IOCTL_FORGET_REPLY, &request, sizeof(request));
}

bool Client::SetBindReply(const std::string &adapter, ULONG reply, bool succeed) {
  SIM_BIND_REPLY request = {};
  if (!CopyField(request.adapter, sizeof(request.adapter), adapter))
    return false;
  request.reply = reply;
  request.succeed = succeed;
  return Control(SIM_IOCTL_SET_BIND_REPLY, &request, sizeof(request));
}

bool Client::SetList(ULONG mode, const std::vector<BYTE> &raw) {
  std::vector<SIM_LIST> record(1);
  SIM_LIST &request = record[0];
  memset(&request, 0, sizeof(request));
  if (raw.size() > sizeof(request.bytes))
    return false;
  request.mode = mode;
  request.byteCount = static_cast<ULONG>(raw.size());
  if (!raw.empty())
    memcpy(request.bytes, raw.data(), raw.size());
  return Control(SIM_IOCTL_SET_LIST, &request, sizeof(request));
}

bool Client::SetListReply(const std::vector<BYTE> &raw) { return SetList(SIM_LIST_RAW, raw); }

bool Client::UseAdapterList() { return SetList(SIM_LIST_FROM_ADAPTERS, {}); }

bool Client::ChangeOptions(ULONG flags, bool set) {
  SIM_OPTIONS request = {};
  (set ? request.setFlags : request.clearFlags) = flags;
  return Control(SIM_IOCTL_SET_OPTIONS, &request, sizeof(request));
}

bool Client::SetListFails(bool fail) { return ChangeOptions(SIM_OPTION_LIST_FAILS, fail); }

bool Client::SetAccessDriverPresent(bool present) {
  return ChangeOptions(SIM_OPTION_NO_ACCESS_DRIVER, !present);
}

bool Client::SetEventUnopenable(bool unopenable) {
  return ChangeOptions(SIM_OPTION_EVENTS_UNOPENABLE, unopenable);
}

bool Client::LogOpens(bool log) { return ChangeOptions(SIM_OPTION_LOG_OPENS, log); }

bool Client::SetMemoryBlock(ULONG size, ULONG value) {
  SIM_OPTIONS request = {};
  request.memoryGiven = 1;
  request.memorySize = size;
  request.memoryValue = value;
  return Control(SIM_IOCTL_SET_OPTIONS, &request, sizeof(request));
}

bool Client::SignalEvent(const std::string &name) {
  SIM_EVENT_NAME request;
  if (!CopyField(request.name, sizeof(request.name), name))
    return false;
  return Control(SIM_IOCTL_SIGNAL_EVENT, &request, sizeof(request));
}

std::vector<LogEntry> Client::Log() {
  std::vector<LogEntry> entries;
  std::vector<SIM_LOG_RECORD> record(1);
  for (ULONG index = 0;; ++index) {
    if (!Control(SIM_IOCTL_READ_LOG, &index, sizeof(index), record.data(), sizeof(record[0])))
      break;
    const SIM_LOG_RECORD &r = record[0];
    LogEntry entry;
    entry.device.assign(r.device, strnlen(r.device, sizeof(r.device)));
    entry.handle = r.handle;
    entry.code = r.code;
    entry.oid = r.oid;
    entry.inputSize = r.inputSize;
    entry.input.assign(r.input, r.input + std::min<ULONG>(r.inputSize, sizeof(r.input)));
    entry.bufferSize = r.bufferSize;
    entry.bufferBefore.assign(
        r.bufferBefore, r.bufferBefore + std::min<ULONG>(r.bufferBeforeSize, sizeof(r.bufferBefore)));
    entry.status = r.status;
    entry.bytesReturned = r.bytesReturned;
    entry.pended = r.pended != 0;
    entries.push_back(std::move(entry));
  }
  return entries;
}

bool Client::ClearLog() { return Control(SIM_IOCTL_CLEAR_LOG, nullptr, 0); }

State Client::GetState() {
  SIM_STATE raw = {};
  State state;
  if (!Control(SIM_IOCTL_GET_STATE, nullptr, 0, &raw, sizeof(raw)))
    return state;
  state.adapters = raw.adapters;
  state.openHandles = raw.openHandles;
  state.events = raw.events;
  state.queues = raw.queues;
  state.memoryBlocks = raw.memoryBlocks;
  state.pending = raw.pending;
  state.logLost = raw.logLost;
  return state;
}

}  // namespace sim

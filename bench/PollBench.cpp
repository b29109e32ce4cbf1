// Times one poll-style exchange of the applet (find the first adapter, open it, four
// requests, close it) through the library, next to the smallest hand-written sequence of
// the same Win32 calls, with 1, 40 and 400 network class subkeys of which two are marked.
// Runs as Windows XP against the simulated driver; prints microseconds per exchange.
//
// From the worktree, after scripts/test (or both presets built):
//   state=$PWD/build/x64-test/wine     (Wine needs an absolute prefix path)
//   tests/platform/wine-platform up $state
//   tests/platform/wine-run $state build/x64-test/bin/poll_bench-winxp.exe
//   tests/platform/wine-platform down $state
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "MacIoctl.h"
#include "SimClient.h"
#include "TestSupport.h"

namespace {

const char kClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
const char kFirst[] = "{BE0C0000-0000-4000-8000-000000000001}";
const char kSecond[] = "{BE0C0000-0000-4000-8000-000000000002}";
// The applet's requests in one poll: mode, link, level, rate.
const struct {
  DWORD oid, size;
} kPollRequests[] = {{OID_MAC_OPERATING_MODE, 1},
                     {OID_MAC_LINK_STATE, 4},
                     {OID_MAC_SIGNAL_LEVEL, 1},
                     {OID_MAC_RATE, 4}};

void SetString(HKEY key, const char *name, const char *text) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                 static_cast<DWORD>(strlen(text) + 1));
}

// Instance keys 7000 onwards; the last two are marked and name the simulated adapters, so
// that both sequences read every subkey before they find one.
std::vector<std::string> CreateSubkeys(int count) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    std::string path = std::string(kClassKey) + "\\" + std::to_string(7000 + i);
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      continue;
    paths.push_back(path);
    SetString(key, "DriverDesc", "Some other network adapter");
    int marked = i - (count - 2);
    if (marked >= 0 || count == 1) {
      DWORD one = 1;
      RegSetValueExA(key, "TARNUIOC", 0, REG_DWORD, reinterpret_cast<BYTE *>(&one), 4);
      SetString(key, "NetCfgInstanceId", marked == 1 ? kSecond : kFirst);
      SetString(key, "DriverDesc", "Wireless adapter");
    }
    RegCloseKey(key);
  }
  return paths;
}

bool LibraryExchange() {
  char name[260] = "", description[260] = "", keyPath[260] = "";
  if (!MacFindFirstMatchEx(name, description, keyPath, FALSE))
    return false;
  BYTE flag;
  HANDLE device = MacOpen(name, &flag);
  if (device == INVALID_HANDLE_VALUE)
    return false;
  DWORD value;
  for (const auto &request : kPollRequests)
    MacIoctl(device, request.oid, &value, request.size, &value);
  MacClose(name, flag, device);
  return true;
}

// Finds the first marked subkey whose device opens, then makes the same requests.
bool HandWrittenExchange() {
  HKEY classKey;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClassKey, 0, KEY_READ, &classKey) != ERROR_SUCCESS)
    return false;
  HANDLE device = INVALID_HANDLE_VALUE;
  char subkey[16];
  for (DWORD index = 0; device == INVALID_HANDLE_VALUE; ++index) {
    DWORD chars = sizeof(subkey);
    if (RegEnumKeyExA(classKey, index, subkey, &chars, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    HKEY key;
    if (RegOpenKeyExA(classKey, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
      continue;
    BYTE data[256];
    DWORD size = sizeof(data);
    char path[260] = "\\\\.\\";
    DWORD nameSize = 250;
    if (RegQueryValueExA(key, "TARNUIOC", nullptr, nullptr, data, &size) == ERROR_SUCCESS &&
        RegQueryValueExA(key, "NetCfgInstanceId", nullptr, nullptr,
                         reinterpret_cast<BYTE *>(path + 4), &nameSize) == ERROR_SUCCESS)
      device = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    RegCloseKey(key);
  }
  RegCloseKey(classKey);
  if (device == INVALID_HANDLE_VALUE)
    return false;
  DWORD value, returned;
  for (const auto &request : kPollRequests) {
    DWORD oid = request.oid;
    DeviceIoControl(device, IOCTL_NDIS_QUERY_GLOBAL_STATS, &oid, sizeof(oid), &value,
                    request.size, &returned, nullptr);
  }
  CloseHandle(device);
  return true;
}

// Microseconds per exchange, over at least a fifth of a second and 10 exchanges.
double TimeOnce(bool (*exchange)()) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  long runs = 0;
  do {
    if (!exchange())
      return -1;
    ++runs;
    QueryPerformanceCounter(&now);
  } while (runs < 10 || now.QuadPart - start.QuadPart < frequency.QuadPart / 5);
  return 1e6 * static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart / runs;
}

// The two sequences take turns, and each keeps its best round: the machine is shared, and
// the best round is the one least disturbed by others.
void TimeBoth(double *library, double *byHand) {
  *library = *byHand = 1e300;
  for (int round = 0; round < 5; ++round) {
    double once = TimeOnce(LibraryExchange);
    *library = once < 0 || *library < 0 ? -1 : (once < *library ? once : *library);
    once = TimeOnce(HandWrittenExchange);
    *byHand = once < 0 || *byHand < 0 ? -1 : (once < *byHand ? once : *byHand);
  }
}

} // namespace

int main() {
  if ((LOBYTE(LOWORD(GetVersion())) & 1) == 0) {
    fprintf(stderr, "run the copy made for Windows XP (poll_bench-winxp.exe)\n");
    return 2;
  }
  std::string failure = sim::InstallDriver();
  if (!failure.empty()) {
    fprintf(stderr, "simulated driver: %s\n", failure.c_str());
    return 2;
  }
  sim::Client sim;
  if (!sim.Reset() || !sim.AddAdapter(kFirst) || !sim.AddAdapter(kSecond)) {
    fprintf(stderr, "simulated driver does not answer\n");
    return 2;
  }
  for (const char *adapter : {kFirst, kSecond})
    for (const auto &request : kPollRequests)
      sim.AnswerDword(adapter, request.oid, 1);

  printf("%9s %14s %14s %7s\n", "subkeys", "library us", "by hand us", "ratio");
  int status = 0;
  for (int count : {1, 40, 400}) {
    std::vector<std::string> paths = CreateSubkeys(count);
    double library, byHand;
    TimeBoth(&library, &byHand);
    for (const std::string &path : paths)
      testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, path.c_str());
    if (library < 0 || byHand < 0) {
      fprintf(stderr, "%d subkeys: an exchange found no adapter\n", count);
      status = 1;
      continue;
    }
    printf("%9d %14.1f %14.1f %7.2f\n", count, library, byHand, library / byHand);
  }
  sim.Reset();
  return status;
}

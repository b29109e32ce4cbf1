#include "TestSupport.h"

#include <malloc.h>
#include <cstdlib>
#include <cstring>

namespace testsupport {

WindowsVersion VersionUnderTest() {
  static const struct {
    const char *name;
    WindowsVersion version;
  } names[] = {
      {"win98", WindowsVersion::Win98},
      {"nt40", WindowsVersion::NT4},
      {"win2k", WindowsVersion::Win2000},
      {"winxp", WindowsVersion::WinXP},
  };
  const char *value = getenv("TARNU_WINVER");
  if (value)
    for (const auto &entry : names)
      if (strcmp(value, entry.name) == 0)
        return entry.version;
  return WindowsVersion::Default;
}

const char *VersionName(WindowsVersion version) {
  switch (version) {
  case WindowsVersion::Win98: return "win98";
  case WindowsVersion::NT4: return "nt40";
  case WindowsVersion::Win2000: return "win2k";
  case WindowsVersion::WinXP: return "winxp";
  default: return "default";
  }
}

unsigned CountOpenHandles() {
  unsigned count = 0;
  for (ULONG_PTR value = 4; value <= 0x20000; value += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
      ++count;
  }
  return count;
}

std::string PathBesideProgram(const char *fileName) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string result(path, length);
  result.erase(result.find_last_of('\\') + 1);
  return result + fileName;
}

std::string InstallKernelDriver(const char *serviceName, const char *sysFilePath) {
  char target[MAX_PATH];
  GetSystemDirectoryA(target, sizeof(target));
  std::string installed = std::string(target) + "\\drivers\\" + serviceName + ".sys";

  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager)
    return "OpenSCManager failed";
  std::string failure;
  SC_HANDLE service = OpenServiceA(manager, serviceName, SERVICE_ALL_ACCESS);
  if (!service) {
    if (!CopyFileA(sysFilePath, installed.c_str(), FALSE))
      failure = "cannot copy " + std::string(sysFilePath);
    else
      service = CreateServiceA(manager, serviceName, serviceName, SERVICE_ALL_ACCESS,
                               SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START,
                               SERVICE_ERROR_NORMAL, installed.c_str(), nullptr, nullptr,
                               nullptr, nullptr, nullptr);
    if (!service && failure.empty())
      failure = "CreateService failed";
  }
  if (service) {
    if (!StartServiceA(service, 0, nullptr) &&
        GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
      failure = "StartService failed with error " + std::to_string(GetLastError());
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return failure;
}

void DeleteRegistryTree(HKEY root, const char *path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  // Delete children first: RegDeleteKey removes only keys without subkeys.
  char child[256];
  for (;;) {
    DWORD length = sizeof(child);
    if (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    DeleteRegistryTree(key, child);
  }
  RegCloseKey(key);
  RegDeleteKeyA(root, path);
}

bool HeapsAreValid() {
  if (!HeapValidate(GetProcessHeap(), 0, nullptr))
    return false;
  return _heapchk() == _HEAPOK;
}

} // namespace testsupport

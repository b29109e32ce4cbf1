#include "AdapterWalks.h"

#include <string.h>

#include "DeviceAccess.h"
#include "Platform.h"
#include "RegistryValues.h"

namespace {

const char kNt5ClassKey[] =
    "System\\CurrentControlSet\\Control\\Class\\{4d36e972-e325-11ce-bfc1-08002be10318}";
const char kWin9xClassKey[] = "System\\CurrentControlSet\\Services\\Class\\Net";
const char kNt4NetworkCards[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const char kServicesKey[] = "System\\CurrentControlSet\\Services\\";
const char kParametersSuffix[] = "\\Parameters";

// Instance and card key names are read into 16 bytes: a longer name ends the walk.
const DWORD kSubkeyNameBytes = 16;
const size_t kBufferBytes = MAC_NAME_BUFFER_BYTES;
static_assert(sizeof(kNt5ClassKey) + kSubkeyNameBytes <= kBufferBytes,
              "class key paths fit the callers' buffers");

// On Windows 9x an adapter name begins with the four characters of its instance key.
const size_t kInstanceKeyChars = 4;

bool SameInstanceKey(const char *listed, const char *instanceKey) {
  return _strnicmp(listed, instanceKey, kInstanceKeyChars) == 0;
}

bool SameAdapterName(const char *listed, const char *candidate) {
  return _stricmp(listed, candidate) == 0;
}

// The duplicate test runs only in a walk that received entries from an earlier pass.
bool AlreadyListed(bool checkDuplicates, const NameListBuilder &list,
                   bool (*sameAdapter)(const char *, const char *), const char *candidate) {
  return checkDuplicates && list.Contains(sameAdapter, candidate);
}

bool DriverAnswers(const char *adapterName) {
  BYTE openFlag;
  HANDLE device = MacOpen(adapterName, &openFlag);
  if (device == INVALID_HANDLE_VALUE)
    return false;
  MacClose(adapterName, openFlag, device);
  return true;
}

// Enumerates the numbered subkeys of root: calls visit(name, key) for each that opens,
// closing it afterwards, until visit returns false or enumeration ends.
template <typename Visit> void ForEachNumberedSubkey(const char *rootPath, Visit visit) {
  HKEY root;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, rootPath, 0, KEY_READ, &root) != ERROR_SUCCESS)
    return;
  for (DWORD index = 0;; ++index) {
    char name[kSubkeyNameBytes];
    DWORD nameChars = sizeof(name);
    if (RegEnumKeyExA(root, index, name, &nameChars, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    if (name[0] < '0' || name[0] > '9')
      continue;
    HKEY key;
    if (RegOpenKeyExA(root, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
      continue;
    bool goOn = visit(name, key);
    RegCloseKey(key);
    if (!goOn)
      break;
  }
  RegCloseKey(root);
}

} // namespace

void WalkNetworkClassKey(NameListBuilder &list, bool probe) {
  bool nt5Mode = (CurrentMajorVersion() & 1) != 0;
  const char *classKey = nt5Mode ? kNt5ClassKey : kWin9xClassKey;
  bool checkDuplicates = list.EntryCount() != 0;
  ForEachNumberedSubkey(classKey, [&](const char *instanceKey, HKEY key) {
    if (!HasMarkerValue(key))
      return true;
    char adapterName[kBufferBytes];
    if (nt5Mode) {
      if (!ReadStringValue(key, "NetCfgInstanceId", adapterName, sizeof(adapterName)) ||
          AlreadyListed(checkDuplicates, list, SameAdapterName, adapterName) ||
          (probe && !DriverAnswers(adapterName)))
        return true;
    } else {
      strcpy(adapterName, instanceKey);
      if (AlreadyListed(checkDuplicates, list, SameInstanceKey, instanceKey))
        return true;
    }
    char description[kBufferBytes] = "[";
    strcat(description, instanceKey);
    strcat(description, "] ");
    size_t prefixChars = strlen(description);
    if (!ReadStringValue(key, "DriverDesc", description + prefixChars,
                         static_cast<DWORD>(sizeof(description) - prefixChars)))
      return true;
    char keyPath[kBufferBytes];
    strcpy(keyPath, classKey);
    strcat(keyPath, "\\");
    strcat(keyPath, instanceKey);
    return list.Append(NameEntry{adapterName, description, keyPath});
  });
}

void WalkNt4NetworkCards(NameListBuilder &list, bool probe) {
  bool checkDuplicates = list.EntryCount() != 0;
  ForEachNumberedSubkey(kNt4NetworkCards, [&](const char *, HKEY card) {
    char serviceName[kBufferBytes];
    if (!ReadStringValue(card, "ServiceName", serviceName, sizeof(serviceName)))
      return true;
    // The parameters path is also handed out as the key path, so it must fit the callers'
    // 256-byte buffers: a card whose service name is too long for that is left out.
    char parametersPath[kBufferBytes];
    if (sizeof(kServicesKey) - 1 + strlen(serviceName) + sizeof(kParametersSuffix) >
        sizeof(parametersPath))
      return true;
    strcpy(parametersPath, kServicesKey);
    strcat(parametersPath, serviceName);
    strcat(parametersPath, kParametersSuffix);
    HKEY parameters;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parametersPath, 0, KEY_READ, &parameters) !=
        ERROR_SUCCESS)
      return true;
    bool marked = HasMarkerValue(parameters);
    RegCloseKey(parameters);
    if (!marked || AlreadyListed(checkDuplicates, list, SameAdapterName, serviceName) ||
        (probe && !DriverAnswers(serviceName)))
      return true;
    char title[kBufferBytes];
    if (!ReadStringValue(card, "Title", title, sizeof(title)))
      return true;
    return list.Append(NameEntry{serviceName, title, parametersPath});
  });
}

void AppendAccessDriverReply(NameListBuilder &list, const char *reply, DWORD replySize) {
  const char *end = reply + replySize;
  const char *next = reply;
  while (next < end && *next != '\0') {
    const char *adapterName = next;
    const char *nameEnd = static_cast<const char *>(memchr(adapterName, '\0', end - adapterName));
    if (!nameEnd)
      return;
    const char *description = nameEnd + 1;
    const char *descriptionEnd =
        description < end ? static_cast<const char *>(memchr(description, '\0', end - description))
                          : nullptr;
    if (!descriptionEnd)
      return;
    next = descriptionEnd + 1;
    // Callers hold every string in 256-byte buffers; a cut name would name another adapter.
    if (nameEnd - adapterName > MAC_NAME_MAX_CHARS ||
        descriptionEnd - description > MAC_NAME_MAX_CHARS)
      continue;
    char keyPath[sizeof(kWin9xClassKey) + 1 + kInstanceKeyChars];
    strcpy(keyPath, kWin9xClassKey);
    strcat(keyPath, "\\");
    strncat(keyPath, adapterName, kInstanceKeyChars);
    if (!list.Append(NameEntry{adapterName, description, keyPath}))
      return;
  }
}

void ListAccessDriverAdapters(NameListBuilder &list) {
  const DWORD kReplyBytes = 2048;
  char *reply = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, kReplyBytes));
  if (!reply)
    return;
  HANDLE driver = CreateFileA(MAC_DEVICE_PREFIX MAC_ACCESS_DRIVER_NAME, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (driver != INVALID_HANDLE_VALUE) {
    DWORD returned = 0;
    if (SendSynchronous(driver, IOCTL_TARNUIOC_LIST_ADAPTERS, nullptr, 0, reply, kReplyBytes,
                        &returned) &&
        returned > 1 && reply[0] != '\0')
      AppendAccessDriverReply(list, reply, returned < kReplyBytes ? returned : kReplyBytes);
    CloseHandle(driver);
  }
  HeapFree(GetProcessHeap(), 0, reply);
}

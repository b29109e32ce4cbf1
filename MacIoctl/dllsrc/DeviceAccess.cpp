#include "DeviceAccess.h"

#include <string.h>

#include "Platform.h"

namespace {

// "\\.\" plus at most MAC_ADAPTER_NAME_MAX_CHARS characters and the NUL.
const size_t kDevicePathBytes = 128;

// Appends the upper-case hexadecimal digits of value (no leading zeros) to text.
void AppendHex(char *text, DWORD value) {
  char digits[9];
  int count = 0;
  do {
    digits[count++] = "0123456789ABCDEF"[value & 0xF];
    value >>= 4;
  } while (value);
  text += strlen(text);
  while (count)
    *text++ = digits[--count];
  *text = '\0';
}

} // namespace

BOOL SendSynchronous(HANDLE device, DWORD code, void *input, DWORD inputSize, void *output,
                     DWORD outputSize, DWORD *returned) {
  DWORD ignored;
  return DeviceIoControl(device, code, input, inputSize, output, outputSize,
                         returned ? returned : &ignored, nullptr);
}

extern "C" HANDLE MACAPI MacOpen(const char *adapterName, BYTE *openFlag) {
  *openFlag = 0;
  MAC_PLATFORM platform = CurrentPlatform();
  if (platform == MAC_PLATFORM_NONE)
    return INVALID_HANDLE_VALUE;
  // The device path has room for 123 characters of name; a longer name is refused
  // rather than cut, so that it can never reach another adapter.
  if (!adapterName || strlen(adapterName) > MAC_ADAPTER_NAME_MAX_CHARS) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }

  // A present but empty DACL lets every account use the handle.
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE))
    return INVALID_HANDLE_VALUE;
  SECURITY_ATTRIBUTES attributes;
  attributes.nLength = sizeof(attributes);
  attributes.lpSecurityDescriptor = &descriptor;
  attributes.bInheritHandle = TRUE;

  bool win9x = platform == MAC_PLATFORM_WIN9X;
  char path[kDevicePathBytes] = MAC_DEVICE_PREFIX;
  strcat(path, win9x ? MAC_ACCESS_DRIVER_NAME : adapterName);
  DWORD flags = FILE_ATTRIBUTE_NORMAL | (win9x ? FILE_FLAG_OVERLAPPED : 0);
  HANDLE device =
      CreateFileA(path, GENERIC_READ, 0, &attributes, OPEN_EXISTING, flags, nullptr);
  if (device == INVALID_HANDLE_VALUE || !win9x)
    return device;

  // On Windows 9x the access driver forwards requests to the adapter it is bound to.
  DWORD bound = 0;
  if (!SendSynchronous(device, IOCTL_TARNUIOC_BIND, const_cast<char *>(adapterName),
                       static_cast<DWORD>(strlen(adapterName) + 1), &bound, sizeof(bound),
                       nullptr) ||
      bound == 0) {
    CloseHandle(device);
    return INVALID_HANDLE_VALUE;
  }
  return device;
}

extern "C" BYTE MACAPI MacIoctl(HANDLE device, DWORD oid, void *buffer, DWORD bufferSize,
                                DWORD *bytesReturned) {
  DWORD privateCount;
  DWORD *count = bytesReturned ? bytesReturned : &privateCount;
  *count = 0;
  DWORD scratch = 0;
  if (!buffer || bufferSize == 0) {
    buffer = &scratch;
    bufferSize = sizeof(scratch);
  }

  bool win9x = CurrentPlatform() == MAC_PLATFORM_WIN9X;
  OVERLAPPED overlapped;
  memset(&overlapped, 0, sizeof(overlapped));
  if (win9x) {
    // Named after this call's own parameter, so that requests in progress at the same
    // time in this process never share an event.
    char eventName[32] = "MacIoctlEvent";
    AppendHex(eventName, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(&device)));
    overlapped.hEvent = CreateEventA(nullptr, FALSE, FALSE, eventName);
  }

  bool succeeded = false;
  if (device != INVALID_HANDLE_VALUE) {
    BOOL completed = DeviceIoControl(device, IOCTL_NDIS_QUERY_GLOBAL_STATS, &oid, sizeof(oid),
                                     buffer, bufferSize, count,
                                     win9x ? &overlapped : nullptr);
    if (!completed && win9x && GetLastError() == ERROR_IO_PENDING)
      completed = GetOverlappedResult(device, &overlapped, count, TRUE);
    // Requests that carry only input are sent without a bytes-returned pointer: for them a
    // reply with data means the driver did not take the request as meant.
    succeeded = completed && (bytesReturned || *count == 0);
  }
  if (overlapped.hEvent)
    CloseHandle(overlapped.hEvent);
  return succeeded ? 1 : 0;
}

extern "C" DWORD MACAPI MacClose(const char *, BYTE, HANDLE device) {
  MAC_PLATFORM platform = CurrentPlatform();
  if (platform == MAC_PLATFORM_NONE)
    return 0;
  if (device == INVALID_HANDLE_VALUE)
    return platform;
  if (platform == MAC_PLATFORM_WIN9X)
    SendSynchronous(device, IOCTL_TARNUIOC_UNBIND, nullptr, 0, nullptr, 0, nullptr);
  return CloseHandle(device);
}

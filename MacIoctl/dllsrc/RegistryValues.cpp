#include "RegistryValues.h"

#include "MacIoctl.h"

bool HasMarkerValue(HKEY key) {
  BYTE data[MAC_NAME_BUFFER_BYTES];
  DWORD size = sizeof(data);
  return RegQueryValueExA(key, "TARNUIOC", nullptr, nullptr, data, &size) == ERROR_SUCCESS;
}

bool ReadStringValue(HKEY key, const char *name, char *buffer, DWORD bufferSize) {
  DWORD type = REG_NONE;
  DWORD size = bufferSize;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
    return false;
  // String data need not carry its NUL in the registry; add it where there is room.
  if (buffer[size - 1] != '\0') {
    if (size >= bufferSize)
      return false;
    buffer[size] = '\0';
  }
  return buffer[0] != '\0';
}

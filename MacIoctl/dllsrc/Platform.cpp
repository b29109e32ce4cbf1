#include "Platform.h"

MAC_PLATFORM CurrentPlatform() {
  DWORD version = GetVersion();
  BYTE major = LOBYTE(LOWORD(version));
  if (!(version & 0x80000000UL))
    return major < 5 ? MAC_PLATFORM_NT4 : MAC_PLATFORM_NT5;
  return major < 4 ? MAC_PLATFORM_NONE : MAC_PLATFORM_WIN9X;
}

BYTE CurrentMajorVersion() { return LOBYTE(LOWORD(GetVersion())); }

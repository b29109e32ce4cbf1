// Opening an adapter's driver, one request through it, closing it (the exports MacOpen,
// MacIoctl, MacClose). On Windows 9x every access goes through the access driver.
#pragma once

#include "MacIoctl.h"

// "\\.\" plus a device name, as CreateFileA expects it.
#define MAC_DEVICE_PREFIX "\\\\.\\"
#define MAC_ACCESS_DRIVER_NAME "TARNUIOC"

// Sends one request without overlapped completion: on a handle opened for it, the driver
// must complete the request at once. returned may be null.
BOOL SendSynchronous(HANDLE device, DWORD code, void *input, DWORD inputSize, void *output,
                     DWORD outputSize, DWORD *returned);

// Opening an adapter's driver, one request through it, closing it (the exports MacOpen,
// MacIoctl, MacClose). On Windows 9x every access goes through the access driver.
#pragma once

#include "MacIoctl.h"

// "\\.\" plus a device name, as CreateFileA expects it.
#define MAC_DEVICE_PREFIX "\\\\.\\"
#define MAC_ACCESS_DRIVER_NAME "TARNUIOC"

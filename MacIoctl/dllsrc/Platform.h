// Which Windows family the library runs on, asked afresh on every call.
#pragma once

#include "MacIoctl.h"

MAC_PLATFORM CurrentPlatform();

// The major version (low byte of the version word); the class-key walk picks its
// registry location from it.
BYTE CurrentMajorVersion();

/* TARNUIOC, the driver interface library: finds the system's wireless adapters, opens an
 * adapter's driver and passes NDIS requests to it. Every export is a plain __stdcall
 * function exported under its undecorated name. */
#ifndef TARNU_MAC_IOCTL_H
#define TARNU_MAC_IOCTL_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef TARNUIOC_BUILDING
#define MACAPI_EXPORT
#else
#define MACAPI_EXPORT __declspec(dllimport)
#endif
#define MACAPI __stdcall

/* The platform kind, computed afresh from GetVersion by every operation. */
typedef enum MAC_PLATFORM {
  MAC_PLATFORM_NONE = 0,  /* Windows 3.x with Win32s: unsupported */
  MAC_PLATFORM_WIN9X = 1, /* Windows 95, 98, Me */
  MAC_PLATFORM_NT4 = 2,
  MAC_PLATFORM_NT5 = 4 /* Windows 2000, XP and later */
} MAC_PLATFORM;

/* A name list: packed NUL-terminated ANSI strings, two per adapter (adapter name,
 * description) or, from MacGetNamesEx, three (plus the key path under
 * HKEY_LOCAL_MACHINE), then one empty string. Every string has at most
 * MAC_NAME_MAX_CHARS characters. Allocated by the library; free it only with
 * MacFreeNames. */
typedef struct MAC_NAME_LIST {
  char strings[1];
} MAC_NAME_LIST;

#define MAC_NAME_MAX_CHARS 255
/* Callers' buffers for names, descriptions and key paths hold at least this much. */
#define MAC_NAME_BUFFER_BYTES 256
/* The longest adapter name MacOpen accepts: "\\.\" plus the name fills 128 bytes. */
#define MAC_ADAPTER_NAME_MAX_CHARS 123

/* Requests sent to the adapter's driver (NT) or the Windows 9x access driver. */
#define IOCTL_NDIS_QUERY_GLOBAL_STATS 0x00170002UL
#define IOCTL_TARNUIOC_BIND 0x0B0B000CUL
#define IOCTL_TARNUIOC_UNBIND 0x0B0B0010UL
#define IOCTL_TARNUIOC_LIST_ADAPTERS 0x0B0B0014UL

/* Requests the applet sends through MacIoctl, with the buffer size each one uses. */
#define OID_MAC_OPERATING_MODE 0xFF030009UL /* 1 byte: 1 lets the level be read, 3 no link needed */
#define OID_MAC_LINK_STATE 0xFF010199UL     /* 4 bytes: 1 means linked */
#define OID_MAC_SIGNAL_LEVEL 0xFF02019EUL   /* 1 byte: 0 to 15 */
#define OID_MAC_RATE 0xFF03000FUL           /* 4 bytes: rate code 8, 4, 2, 1 or 0 */
#define OID_MAC_RADIO_STATE 0xFF030020UL    /* 4 bytes: 0 off, otherwise on */
#define OID_MAC_LINK_INFO 0xFF030023UL      /* 4 bytes */
#define OID_MAC_RADIO_SWITCH 0xFF030021UL   /* 4 bytes in and out: 1 on, 0 off */
/* Standard NDIS requests: the same values as the system's NDIS header, if a caller has it. */
#ifndef OID_802_11_NETWORK_TYPE_IN_USE
#define OID_802_11_NETWORK_TYPE_IN_USE 0x0D010204UL /* 4 bytes: 1 (Ndis802_11DS) */
#endif
#ifndef OID_GEN_DRIVER_VERSION
#define OID_GEN_DRIVER_VERSION 0x00010110UL /* 2 bytes: 0x0501 for NDIS 5.1 */
#endif

/* Device access. MacOpen returns INVALID_HANDLE_VALUE on failure and writes 0 to
 * *openFlag on every path; the caller hands name, flag and handle back to MacClose. */
MACAPI_EXPORT HANDLE MACAPI MacOpen(const char *adapterName, BYTE *openFlag);
/* Sends one request; 1 on success, 0 on failure. A null buffer or zero size sends a
 * private 4-byte buffer instead. Without bytesReturned a request succeeds only when the
 * driver returns 0 bytes. */
MACAPI_EXPORT BYTE MACAPI MacIoctl(HANDLE device, DWORD oid, void *buffer, DWORD bufferSize,
                                   DWORD *bytesReturned);
/* Closes the handle (the result of CloseHandle); with INVALID_HANDLE_VALUE it closes
 * nothing and returns the platform kind. */
MACAPI_EXPORT DWORD MACAPI MacClose(const char *adapterName, BYTE openFlag, HANDLE device);

/* Enumeration. Both return null with *entryCount and *listSize 0 when no adapter is found.
 * Only the low byte of allAdapters is tested. */
MACAPI_EXPORT MAC_NAME_LIST *MACAPI MacGetNames(LONG *entryCount, DWORD *listSize);
MACAPI_EXPORT MAC_NAME_LIST *MACAPI MacGetNamesEx(LONG *entryCount, DWORD *listSize,
                                                  DWORD allAdapters);
MACAPI_EXPORT void MACAPI MacFreeNames(MAC_NAME_LIST *list);

/* Searches: 1 on a match (the buffers, of at least 256 bytes, receive the entry's
 * strings), 0 otherwise (the buffers are left as they were). */
MACAPI_EXPORT BYTE MACAPI MacFindFirstMatch(char *text);
MACAPI_EXPORT BYTE MACAPI MacFindFirstMatchEx(char *adapterName, char *description,
                                              char *keyPath, DWORD allAdapters);

#ifdef __cplusplus
}
#endif

#endif

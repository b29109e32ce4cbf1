/* Requests and records shared by the simulated adapter driver and its test client.
 * Included from C (the driver, after <ntddk.h>) and from C++ (the client). Every record has a fixed layout of 32-bit fields so
 * that both sides agree at any pointer width. */
#ifndef TARNU_SIM_PROTOCOL_H
#define TARNU_SIM_PROTOCOL_H

#ifndef CTL_CODE /* user mode; the driver has it from <ntddk.h> */
#include <windows.h>
#include <winioctl.h>
#endif

#ifdef __cplusplus
#define SIM_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define SIM_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* The control device that tests open: "\\.\TARNUSIM". */
#define SIM_CONTROL_DEVICE_NAME "TARNUSIM"
/* The service name the driver is installed under, and its file. */
#define SIM_SERVICE_NAME "tarnusim"

/* Requests the simulated devices answer, as the library sends them. */
#define SIM_IOCTL_NDIS_QUERY_GLOBAL_STATS 0x00170002u
#define SIM_IOCTL_TARNUIOC_BIND 0x0B0B000Cu
#define SIM_IOCTL_TARNUIOC_UNBIND 0x0B0B0010u
#define SIM_IOCTL_TARNUIOC_LIST_ADAPTERS 0x0B0B0014u
/* The access driver's own device, "\\.\TARNUIOC". */
#define SIM_ACCESS_DEVICE_NAME "TARNUIOC"

/* Private requests that the driver carries out itself unless a test scripted them. */
#define SIM_OID_MAC_MEMORY_SIZE 0xFF020201u
#define SIM_OID_MAC_MEMORY_ALLOCATE 0xFF020202u
#define SIM_OID_MAC_MEMORY_FREE 0xFF020203u
#define SIM_OID_MAC_QUEUE_CREATE 0xFF020301u
#define SIM_OID_MAC_QUEUE_DESTROY 0xFF020302u
#define SIM_OID_MAC_EVENT_CREATE 0xFF020401u
#define SIM_OID_MAC_EVENT_DESTROY 0xFF020402u
#define SIM_EVENT_BLOCK_SIZE 524u
#define SIM_EVENT_NAME_OFFSET 12u
#define SIM_EVENT_NAME_BYTES 512u

/* Log entries for opens and closes (only while SIM_OPTION_LOG_OPENS is set). */
#define SIM_CODE_OPEN 0xFFFF0001u
#define SIM_CODE_CLOSE 0xFFFF0002u

/* Limits of the driver's tables. */
#define SIM_NAME_CHARS 128u         /* adapter name with its NUL */
#define SIM_DESCRIPTION_CHARS 256u  /* description with its NUL */
#define SIM_REPLY_BYTES 1024u       /* longest scripted reply */
#define SIM_LIST_BYTES 4096u        /* longest raw adapter list reply */
#define SIM_LOG_INPUT_BYTES 256u    /* input bytes kept per log entry */
#define SIM_LOG_BUFFER_BYTES 640u   /* starting buffer contents kept per log entry */
#define SIM_MAX_ADAPTERS 32u
#define SIM_MAX_SCRIPTS 256u
#define SIM_MAX_LOG 4096u  /* then further entries are only counted */
#define SIM_MAX_PENDING 32u
#define SIM_MAX_EVENTS 512u /* a process names its events in 256 numbers */
#define SIM_MAX_QUEUES 256u

/* Control requests; all buffered, on the control device only. */
#define SIM_CONTROL_CODE(function) \
  CTL_CODE(0x8A5Eu, 0x800u + (function), METHOD_BUFFERED, FILE_ANY_ACCESS)
#define SIM_IOCTL_RESET SIM_CONTROL_CODE(0)           /* no input */
#define SIM_IOCTL_ADD_ADAPTER SIM_CONTROL_CODE(1)     /* SIM_ADAPTER */
#define SIM_IOCTL_REMOVE_ADAPTER SIM_CONTROL_CODE(2)  /* SIM_ADAPTER (name only) */
#define SIM_IOCTL_SET_REPLY SIM_CONTROL_CODE(3)       /* SIM_REPLY */
#define SIM_IOCTL_FORGET_REPLY SIM_CONTROL_CODE(4)    /* SIM_REPLY (name and oid only) */
#define SIM_IOCTL_SET_BIND_REPLY SIM_CONTROL_CODE(5)  /* SIM_BIND_REPLY */
#define SIM_IOCTL_SET_LIST SIM_CONTROL_CODE(6)        /* SIM_LIST */
#define SIM_IOCTL_SET_OPTIONS SIM_CONTROL_CODE(7)     /* SIM_OPTIONS */
#define SIM_IOCTL_READ_LOG SIM_CONTROL_CODE(8)        /* in: ULONG index; out: SIM_LOG_RECORD */
#define SIM_IOCTL_CLEAR_LOG SIM_CONTROL_CODE(9)       /* no input */
#define SIM_IOCTL_SIGNAL_EVENT SIM_CONTROL_CODE(10)   /* SIM_EVENT_NAME */
#define SIM_IOCTL_GET_STATE SIM_CONTROL_CODE(11)      /* out: SIM_STATE */

typedef struct SIM_ADAPTER {
  char name[SIM_NAME_CHARS];
  char description[SIM_DESCRIPTION_CHARS];
} SIM_ADAPTER;
SIM_STATIC_ASSERT(sizeof(SIM_ADAPTER) == 384, "SIM_ADAPTER layout");

/* SIM_REPLY.flags */
#define SIM_REPLY_SUCCEED 0x1u
#define SIM_REPLY_LEAVE_BUFFER 0x2u
#define SIM_REPLY_COUNT_GIVEN 0x4u /* bytesReturned holds the count to report */

typedef struct SIM_REPLY {
  char adapter[SIM_NAME_CHARS];
  ULONG oid;
  ULONG flags;
  ULONG bytesReturned;
  ULONG pendingMs;
  ULONG status;    /* 0: STATUS_SUCCESS or STATUS_UNSUCCESSFUL by SIM_REPLY_SUCCEED */
  ULONG byteCount; /* valid bytes in bytes[] */
  unsigned char bytes[SIM_REPLY_BYTES];
} SIM_REPLY;
SIM_STATIC_ASSERT(sizeof(SIM_REPLY) == 128 + 24 + 1024, "SIM_REPLY layout");

typedef struct SIM_BIND_REPLY {
  char adapter[SIM_NAME_CHARS];
  ULONG reply;
  ULONG succeed;
} SIM_BIND_REPLY;
SIM_STATIC_ASSERT(sizeof(SIM_BIND_REPLY) == 136, "SIM_BIND_REPLY layout");

/* SIM_LIST.mode */
#define SIM_LIST_FROM_ADAPTERS 0u
#define SIM_LIST_RAW 1u

typedef struct SIM_LIST {
  ULONG mode;
  ULONG byteCount; /* SIM_LIST_RAW: valid bytes in bytes[] */
  unsigned char bytes[SIM_LIST_BYTES];
} SIM_LIST;
SIM_STATIC_ASSERT(sizeof(SIM_LIST) == 8 + 4096, "SIM_LIST layout");

/* SIM_OPTIONS.flags */
#define SIM_OPTION_EVENTS_UNOPENABLE 0x1u /* driver events go where the caller cannot open them */
#define SIM_OPTION_LOG_OPENS 0x2u         /* log opens and closes of simulated devices */
#define SIM_OPTION_NO_ACCESS_DRIVER 0x4u  /* opens of "\\.\TARNUIOC" fail */
#define SIM_OPTION_LIST_FAILS 0x8u        /* the adapter list request fails, writes nothing */
#define SIM_OPTION_ALL 0xFu

/* Changes only what it names, so that several clients can script one driver. */
typedef struct SIM_OPTIONS {
  ULONG setFlags;
  ULONG clearFlags;
  ULONG memoryGiven; /* nonzero: memorySize and memoryValue apply */
  ULONG memorySize;  /* OID_MAC_MEMORY_SIZE answer */
  ULONG memoryValue; /* OID_MAC_MEMORY_ALLOCATE answer */
} SIM_OPTIONS;
SIM_STATIC_ASSERT(sizeof(SIM_OPTIONS) == 20, "SIM_OPTIONS layout");
#define SIM_DEFAULT_MEMORY_SIZE 0x1000u
#define SIM_DEFAULT_MEMORY_VALUE 0x00A50000u

typedef struct SIM_EVENT_NAME {
  char name[SIM_EVENT_NAME_BYTES / 2];
} SIM_EVENT_NAME;
SIM_STATIC_ASSERT(sizeof(SIM_EVENT_NAME) == 256, "SIM_EVENT_NAME layout");

typedef struct SIM_LOG_RECORD {
  char device[SIM_NAME_CHARS];
  ULONG handle;
  ULONG code;
  ULONG oid;
  ULONG inputSize; /* whole input length; at most SIM_LOG_INPUT_BYTES of it kept */
  ULONG bufferSize;
  ULONG bufferBeforeSize; /* bytes kept in bufferBefore[] */
  ULONG status;
  ULONG bytesReturned;
  ULONG pended;
  ULONG reserved;
  unsigned char input[SIM_LOG_INPUT_BYTES];
  unsigned char bufferBefore[SIM_LOG_BUFFER_BYTES];
} SIM_LOG_RECORD;
SIM_STATIC_ASSERT(sizeof(SIM_LOG_RECORD) == 128 + 40 + 256 + 640, "SIM_LOG_RECORD layout");

typedef struct SIM_STATE {
  ULONG adapters;     /* present adapters */
  ULONG openHandles;  /* opens of adapter and access devices not yet closed */
  ULONG events;       /* driver events alive */
  ULONG queues;       /* queues announced and not destroyed */
  ULONG memoryBlocks; /* allocations not yet freed */
  ULONG pending;      /* requests still pending */
  ULONG logLost;      /* log entries dropped because the log was full */
  ULONG reserved;
} SIM_STATE;
SIM_STATIC_ASSERT(sizeof(SIM_STATE) == 32, "SIM_STATE layout");

#endif

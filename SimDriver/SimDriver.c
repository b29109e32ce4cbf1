/* The simulated adapter driver: one kernel-mode stand-in for the adapters' NDIS
 * miniport devices ("\\.\" + adapter name) and for the Windows 9x access driver
 * ("\\.\TARNUIOC"), scripted and observed by tests through a control device
 * ("\\.\TARNUSIM"). Every length it reads or writes comes from the I/O manager and is
 * checked against the record it expects; a malformed control request fails and
 * changes nothing. */
#include <ntifs.h>
#include <ntddk.h>

#include "SimProtocol.h"

#define POOL_TAG 0x6D695354u /* "TSim" in pool dumps */

typedef enum { KIND_CONTROL, KIND_ACCESS, KIND_ADAPTER } DEVICE_KIND;

typedef struct DEVICE_EXTENSION {
  DEVICE_KIND kind;
  ULONG slot; /* adapter slot, for KIND_ADAPTER */
} DEVICE_EXTENSION;

/* An adapter slot keeps its device object for the driver's life; adding and removing
 * the adapter creates and deletes only the name. The generation tells handles opened
 * before a removal from those opened after a new adapter took the slot. */
typedef struct ADAPTER {
  BOOLEAN present;
  ULONG generation;
  ULONG order; /* when it was added: the list reply keeps that order */
  PDEVICE_OBJECT device;
  char name[SIM_NAME_CHARS];
  char description[SIM_DESCRIPTION_CHARS];
} ADAPTER;

/* One per open of an adapter or the access device, kept in FsContext. */
typedef struct OPEN_FILE {
  ULONG id;
  char device[SIM_NAME_CHARS]; /* as opened: the slot may serve another adapter later */
  DEVICE_KIND kind;
  ULONG slot;
  ULONG generation;
  BOOLEAN bound; /* access device: bound to boundSlot/boundGeneration */
  ULONG boundSlot;
  ULONG boundGeneration;
} OPEN_FILE;

typedef struct SCRIPT {
  BOOLEAN used;
  SIM_REPLY reply;
} SCRIPT;

/* An answer carries a scripted reply or a whole adapter list, whichever is longer. */
#define ANSWER_BYTES (SIM_LIST_BYTES > SIM_REPLY_BYTES ? SIM_LIST_BYTES : SIM_REPLY_BYTES)

/* What a request is answered with, worked out before it completes. */
typedef struct ANSWER {
  NTSTATUS status;
  ULONG information;
  ULONG writeCount; /* bytes of data[] written at the start of the caller's buffer */
  ULONG pendingMs;
  UCHAR data[ANSWER_BYTES];
} ANSWER;

typedef struct PENDING {
  BOOLEAN busy;
  KTIMER timer;
  KDPC dpc;
  PIRP irp;
  PUCHAR buffer;
  ANSWER answer;
} PENDING;

typedef struct SIM_EVENT {
  BOOLEAN used;
  HANDLE handle; /* may be NULL for a 9x event the driver could not open */
  ULONG id;
  char name[SIM_EVENT_NAME_BYTES / 2];
} SIM_EVENT;

typedef struct QUEUE {
  BOOLEAN used;
  ULONG address;
} QUEUE;

typedef struct SIM_STATE_ALL {
  KSPIN_LOCK lock;
  PDRIVER_OBJECT driver;
  ADAPTER adapters[SIM_MAX_ADAPTERS];
  ULONG nextOrder;
  ULONG nextHandleId;
  ULONG openHandles;
  SCRIPT scripts[SIM_MAX_SCRIPTS];
  SIM_LIST list;
  ULONG optionFlags;
  ULONG memorySize;
  ULONG memoryValue;
  SIM_LOG_RECORD log[SIM_MAX_LOG];
  ULONG logCount;
  ULONG logLost;
  PENDING pending[SIM_MAX_PENDING];
  SIM_EVENT events[SIM_MAX_EVENTS];
  QUEUE queues[SIM_MAX_QUEUES];
  ULONG memoryBlocks;
} SIM_STATE_ALL;

/* One lock guards all state. The driver runs only in Wine's driver host, a user
 * process, where the Zw calls made while holding it cannot deadlock the system. */
static SIM_STATE_ALL *g_sim;

static const WCHAR kAccessDevice[] = L"\\Device\\TarnuSimAccess";
static const WCHAR kAccessLink[] = L"\\DosDevices\\" SIM_ACCESS_DEVICE_NAME;
static const WCHAR kSessionObjects[] = L"\\Sessions\\1\\BaseNamedObjects\\";
/* The caller finds an event here only as "Global\...": how a test makes it unopenable. */
static const WCHAR kGlobalObjects[] = L"\\BaseNamedObjects\\";

/* ---- small helpers (no C runtime in a driver) ---- */

static ULONG TextLength(const char *text, ULONG capacity) {
  ULONG length = 0;
  while (length < capacity && text[length])
    ++length;
  return length;
}

/* True when text holds a NUL within capacity. */
static BOOLEAN IsTerminated(const char *text, ULONG capacity) {
  return TextLength(text, capacity) < capacity;
}

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c; }

static BOOLEAN SameName(const char *a, const char *b) {
  for (;; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b))
      return FALSE;
    if (!*a)
      return TRUE;
  }
}

static void CopyText(char *target, ULONG capacity, const char *source) {
  ULONG length = TextLength(source, capacity - 1);
  RtlCopyMemory(target, source, length);
  RtlZeroMemory(target + length, capacity - length);
}

/* Adapter names become object names: printable ASCII without path separators. */
static BOOLEAN IsValidAdapterName(const char *name, ULONG capacity) {
  ULONG length = TextLength(name, capacity);
  ULONG i;
  if (length == 0 || length >= capacity)
    return FALSE;
  for (i = 0; i < length; ++i)
    if (name[i] < 0x21 || name[i] > 0x7E || name[i] == '\\' || name[i] == '/')
      return FALSE;
  return TRUE;
}

/* Builds prefix + ASCII text into a pool string; the caller frees buffer. */
static NTSTATUS MakeObjectName(const WCHAR *prefix, const char *text, UNICODE_STRING *name) {
  ULONG prefixLength = 0, textLength = TextLength(text, SIM_EVENT_NAME_BYTES), i;
  WCHAR *buffer;
  while (prefix[prefixLength])
    ++prefixLength;
  buffer = ExAllocatePoolWithTag(NonPagedPool, (prefixLength + textLength + 1) * sizeof(WCHAR),
                                 POOL_TAG);
  if (!buffer)
    return STATUS_INSUFFICIENT_RESOURCES;
  for (i = 0; i < prefixLength; ++i)
    buffer[i] = prefix[i];
  for (i = 0; i < textLength; ++i)
    buffer[prefixLength + i] = (UCHAR)text[i];
  buffer[prefixLength + textLength] = 0;
  name->Buffer = buffer;
  name->Length = (USHORT)((prefixLength + textLength) * sizeof(WCHAR));
  name->MaximumLength = (USHORT)(name->Length + sizeof(WCHAR));
  return STATUS_SUCCESS;
}

static void FreeObjectName(UNICODE_STRING *name) { ExFreePoolWithTag(name->Buffer, POOL_TAG); }

static ADAPTER *FindPresentAdapter(const char *name) {
  ULONG i;
  for (i = 0; i < SIM_MAX_ADAPTERS; ++i)
    if (g_sim->adapters[i].present && SameName(g_sim->adapters[i].name, name))
      return &g_sim->adapters[i];
  return NULL;
}

static SCRIPT *FindScript(const char *adapter, ULONG key) {
  ULONG i;
  for (i = 0; i < SIM_MAX_SCRIPTS; ++i) {
    SCRIPT *script = &g_sim->scripts[i];
    if (script->used && script->reply.oid == key && SameName(script->reply.adapter, adapter))
      return script;
  }
  return NULL;
}

/* ---- the request log ---- */

typedef struct REQUEST_VIEW {
  const char *device;
  ULONG handle;
  ULONG code;
  ULONG oid;
  const UCHAR *input;
  ULONG inputSize;
  const UCHAR *buffer; /* caller's output buffer as the driver sees it, or NULL */
  ULONG bufferSize;
} REQUEST_VIEW;

static void AppendLog(const REQUEST_VIEW *request, const ANSWER *answer) {
  SIM_LOG_RECORD *record;
  if (g_sim->logCount >= SIM_MAX_LOG) {
    ++g_sim->logLost;
    return;
  }
  record = &g_sim->log[g_sim->logCount++];
  RtlZeroMemory(record, sizeof(*record));
  CopyText(record->device, sizeof(record->device), request->device);
  record->handle = request->handle;
  record->code = request->code;
  record->oid = request->oid;
  record->inputSize = request->inputSize;
  if (request->input)
    RtlCopyMemory(record->input, request->input, min(request->inputSize, SIM_LOG_INPUT_BYTES));
  record->bufferSize = request->bufferSize;
  if (request->buffer) {
    record->bufferBeforeSize = min(request->bufferSize, SIM_LOG_BUFFER_BYTES);
    RtlCopyMemory(record->bufferBefore, request->buffer, record->bufferBeforeSize);
  }
  record->status = (ULONG)answer->status;
  record->bytesReturned = answer->information;
  record->pended = answer->pendingMs != 0;
}

static void LogOpenOrClose(const char *device, ULONG handle, ULONG code, NTSTATUS status) {
  REQUEST_VIEW request;
  ANSWER answer;
  if (!(g_sim->optionFlags & SIM_OPTION_LOG_OPENS))
    return;
  RtlZeroMemory(&request, sizeof(request));
  request.device = device;
  request.handle = handle;
  request.code = code;
  answer.status = status;
  answer.information = 0;
  answer.pendingMs = 0;
  AppendLog(&request, &answer);
}

/* ---- answers ---- */

static void AnswerStatus(ANSWER *answer, NTSTATUS status) {
  answer->status = status;
  answer->information = 0;
  answer->writeCount = 0;
  answer->pendingMs = 0;
}

static void AnswerBytes(ANSWER *answer, const void *bytes, ULONG count, ULONG bufferSize) {
  AnswerStatus(answer, STATUS_SUCCESS);
  if (count > bufferSize)
    count = bufferSize;
  if (count > sizeof(answer->data))
    count = sizeof(answer->data);
  RtlCopyMemory(answer->data, bytes, count);
  answer->writeCount = count;
  answer->information = count;
}

static void AnswerFromScript(ANSWER *answer, const SIM_REPLY *reply, ULONG bufferSize) {
  BOOLEAN succeed = (reply->flags & SIM_REPLY_SUCCEED) != 0;
  ULONG count = min(reply->byteCount, bufferSize);
  answer->status = reply->status ? (NTSTATUS)reply->status
                                 : (succeed ? STATUS_SUCCESS : STATUS_UNSUCCESSFUL);
  answer->writeCount = (reply->flags & SIM_REPLY_LEAVE_BUFFER) ? 0 : count;
  RtlCopyMemory(answer->data, reply->bytes, answer->writeCount);
  /* Never report more than the caller's buffer holds: the I/O manager would copy it. */
  answer->information =
      (reply->flags & SIM_REPLY_COUNT_GIVEN) ? min(reply->bytesReturned, bufferSize) : count;
  answer->pendingMs = reply->pendingMs;
}

static ULONG ReadUlong(const UCHAR *bytes) {
  ULONG value;
  RtlCopyMemory(&value, bytes, sizeof(value));
  return value;
}

static void WriteUlong(UCHAR *bytes, ULONG value) { RtlCopyMemory(bytes, &value, sizeof(value)); }

/* The event's name from an event block: UTF-16 from the NT side, ANSI from the 9x side.
 * FALSE when it is not a terminated ASCII name. */
static BOOLEAN EventNameFromBlock(const UCHAR *block, BOOLEAN wide, char *name) {
  const UCHAR *field = block + SIM_EVENT_NAME_OFFSET;
  ULONG i, chars = wide ? SIM_EVENT_NAME_BYTES / 2 : SIM_EVENT_NAME_BYTES;
  for (i = 0; i < chars && i < SIM_EVENT_NAME_BYTES / 2; ++i) {
    USHORT c = wide ? (USHORT)(field[2 * i] | (field[2 * i + 1] << 8)) : field[i];
    if (c == 0) {
      name[i] = 0;
      return i > 0;
    }
    if (c < 0x21 || c > 0x7E || c == '\\')
      return FALSE;
    name[i] = (char)c;
  }
  return FALSE;
}

static SIM_EVENT *FreeEventSlot(ULONG *index) {
  ULONG i;
  for (i = 0; i < SIM_MAX_EVENTS; ++i)
    if (!g_sim->events[i].used) {
      *index = i;
      return &g_sim->events[i];
    }
  return NULL;
}

/* Event create: on the NT side the driver makes the named event and hands back its own
 * nonzero handle; on the 9x side the caller made the event and set hDriverEvent itself. */
static void CreateDriverEvent(ANSWER *answer, const UCHAR *buffer, ULONG bufferSize,
                              BOOLEAN fromAccessDriver) {
  char name[SIM_EVENT_NAME_BYTES / 2];
  ULONG index;
  SIM_EVENT *event;
  UNICODE_STRING objectName;
  OBJECT_ATTRIBUTES attributes;
  HANDLE handle = NULL;
  NTSTATUS status;

  if (!buffer || bufferSize < SIM_EVENT_BLOCK_SIZE)
    return AnswerStatus(answer, STATUS_BUFFER_TOO_SMALL);
  if (!EventNameFromBlock(buffer, !fromAccessDriver, name))
    return AnswerStatus(answer, STATUS_OBJECT_NAME_INVALID);
  if (fromAccessDriver && ReadUlong(buffer + 4) == 0)
    return AnswerStatus(answer, STATUS_INVALID_HANDLE);
  event = FreeEventSlot(&index);
  if (!event)
    return AnswerStatus(answer, STATUS_INSUFFICIENT_RESOURCES);

  status = MakeObjectName((!fromAccessDriver &&
                           (g_sim->optionFlags & SIM_OPTION_EVENTS_UNOPENABLE))
                              ? kGlobalObjects
                              : kSessionObjects,
                          name, &objectName);
  if (!NT_SUCCESS(status))
    return AnswerStatus(answer, status);
  InitializeObjectAttributes(&attributes, &objectName, OBJ_KERNEL_HANDLE, NULL, NULL);
  if (fromAccessDriver)
    status = ZwOpenEvent(&handle, EVENT_ALL_ACCESS, &attributes);
  else
    status = ZwCreateEvent(&handle, EVENT_ALL_ACCESS, &attributes, SynchronizationEvent, FALSE);
  FreeObjectName(&objectName);
  if (!NT_SUCCESS(status)) {
    /* A 9x driver works from the handle it was given, not the name: go on without it. */
    if (!fromAccessDriver)
      return AnswerStatus(answer, status);
    handle = NULL;
  }

  event->used = TRUE;
  event->handle = handle;
  event->id = fromAccessDriver ? ReadUlong(buffer + 4) : 0xE7000000u | (index + 1);
  CopyText(event->name, sizeof(event->name), name);
  AnswerBytes(answer, buffer, SIM_EVENT_BLOCK_SIZE, bufferSize);
  WriteUlong(answer->data + 4, event->id);
}

static void DestroyDriverEvent(ANSWER *answer, const UCHAR *buffer, ULONG bufferSize,
                               BOOLEAN fromAccessDriver) {
  ULONG i, id;
  char name[SIM_EVENT_NAME_BYTES / 2];
  if (!buffer || bufferSize < SIM_EVENT_BLOCK_SIZE)
    return AnswerStatus(answer, STATUS_BUFFER_TOO_SMALL);
  id = ReadUlong(buffer + 4);
  if (!EventNameFromBlock(buffer, !fromAccessDriver, name))
    name[0] = 0;
  for (i = 0; i < SIM_MAX_EVENTS; ++i) {
    SIM_EVENT *event = &g_sim->events[i];
    if (event->used && event->id == id && SameName(event->name, name)) {
      if (event->handle)
        ZwClose(event->handle);
      RtlZeroMemory(event, sizeof(*event));
      return AnswerStatus(answer, STATUS_SUCCESS);
    }
  }
  AnswerStatus(answer, STATUS_INVALID_HANDLE);
}

static void AnnounceQueue(ANSWER *answer, const UCHAR *buffer, ULONG bufferSize, BOOLEAN create) {
  ULONG i, address;
  if (!buffer || bufferSize < sizeof(ULONG))
    return AnswerStatus(answer, STATUS_BUFFER_TOO_SMALL);
  address = ReadUlong(buffer);
  for (i = 0; i < SIM_MAX_QUEUES; ++i) {
    QUEUE *queue = &g_sim->queues[i];
    if (create ? !queue->used : (queue->used && queue->address == address)) {
      queue->used = create;
      queue->address = create ? address : 0;
      return AnswerStatus(answer, STATUS_SUCCESS);
    }
  }
  AnswerStatus(answer, create ? STATUS_INSUFFICIENT_RESOURCES : STATUS_INVALID_PARAMETER);
}

/* The private requests the driver carries out itself; FALSE for any other OID. */
static BOOLEAN AnswerPrivateRequest(ANSWER *answer, ULONG oid, const UCHAR *buffer,
                                    ULONG bufferSize, BOOLEAN fromAccessDriver) {
  UCHAR value[4];
  switch (oid) {
  case SIM_OID_MAC_MEMORY_SIZE:
    WriteUlong(value, g_sim->memorySize);
    if (bufferSize < sizeof(value))
      AnswerStatus(answer, STATUS_BUFFER_TOO_SMALL);
    else
      AnswerBytes(answer, value, sizeof(value), bufferSize);
    return TRUE;
  case SIM_OID_MAC_MEMORY_ALLOCATE:
    WriteUlong(value, g_sim->memoryValue);
    if (bufferSize < sizeof(value)) {
      AnswerStatus(answer, STATUS_BUFFER_TOO_SMALL);
    } else {
      AnswerBytes(answer, value, sizeof(value), bufferSize);
      ++g_sim->memoryBlocks;
    }
    return TRUE;
  case SIM_OID_MAC_MEMORY_FREE:
    if (g_sim->memoryBlocks == 0) {
      AnswerStatus(answer, STATUS_INVALID_PARAMETER);
    } else {
      --g_sim->memoryBlocks;
      AnswerStatus(answer, STATUS_SUCCESS);
    }
    return TRUE;
  case SIM_OID_MAC_QUEUE_CREATE:
  case SIM_OID_MAC_QUEUE_DESTROY:
    AnnounceQueue(answer, buffer, bufferSize, oid == SIM_OID_MAC_QUEUE_CREATE);
    return TRUE;
  case SIM_OID_MAC_EVENT_CREATE:
    CreateDriverEvent(answer, buffer, bufferSize, fromAccessDriver);
    return TRUE;
  case SIM_OID_MAC_EVENT_DESTROY:
    DestroyDriverEvent(answer, buffer, bufferSize, fromAccessDriver);
    return TRUE;
  default:
    return FALSE;
  }
}

/* A query on an adapter: its script first, then the driver's own private requests;
 * anything else fails and leaves the buffer as it was. */
static void AnswerQuery(ANSWER *answer, const ADAPTER *adapter, ULONG oid, const UCHAR *buffer,
                        ULONG bufferSize, BOOLEAN fromAccessDriver) {
  SCRIPT *script = FindScript(adapter->name, oid);
  if (script)
    AnswerFromScript(answer, &script->reply, bufferSize);
  else if (!AnswerPrivateRequest(answer, oid, buffer, bufferSize, fromAccessDriver))
    AnswerStatus(answer, STATUS_NOT_SUPPORTED);
}

static ULONG BuildAdapterList(UCHAR *list, ULONG capacity) {
  ULONG used = 0, lastOrder = 0, i;
  for (;;) {
    /* Present adapters in the order they were added. */
    ADAPTER *next = NULL;
    for (i = 0; i < SIM_MAX_ADAPTERS; ++i) {
      ADAPTER *adapter = &g_sim->adapters[i];
      if (adapter->present && adapter->order > lastOrder && (!next || adapter->order < next->order))
        next = adapter;
    }
    if (!next)
      break;
    lastOrder = next->order;
    {
      ULONG nameLength = TextLength(next->name, SIM_NAME_CHARS) + 1;
      ULONG descriptionLength = TextLength(next->description, SIM_DESCRIPTION_CHARS) + 1;
      if (used + nameLength + descriptionLength + 1 > capacity)
        break;
      RtlCopyMemory(list + used, next->name, nameLength);
      used += nameLength;
      RtlCopyMemory(list + used, next->description, descriptionLength);
      used += descriptionLength;
    }
  }
  list[used++] = 0;
  return used;
}

static void AnswerAdapterList(ANSWER *answer, ULONG bufferSize) {
  if (g_sim->optionFlags & SIM_OPTION_LIST_FAILS)
    return AnswerStatus(answer, STATUS_UNSUCCESSFUL);
  /* The reply goes up to the caller's buffer size, even if that cuts it short. */
  if (g_sim->list.mode == SIM_LIST_RAW) {
    AnswerBytes(answer, g_sim->list.bytes, g_sim->list.byteCount, bufferSize);
  } else {
    UCHAR *list = ExAllocatePoolWithTag(NonPagedPool, SIM_LIST_BYTES, POOL_TAG);
    if (!list)
      return AnswerStatus(answer, STATUS_INSUFFICIENT_RESOURCES);
    AnswerBytes(answer, list, BuildAdapterList(list, SIM_LIST_BYTES), bufferSize);
    ExFreePoolWithTag(list, POOL_TAG);
  }
}

static void AnswerBind(ANSWER *answer, OPEN_FILE *open, const UCHAR *input, ULONG inputSize,
                       ULONG bufferSize) {
  char name[SIM_NAME_CHARS];
  ADAPTER *adapter;
  SCRIPT *script;
  static const UCHAR kDefaultReply[4] = {1, 0, 0, 0};

  /* The name must end with its NUL inside the input the caller sent. */
  if (!input || inputSize == 0 || TextLength((const char *)input, inputSize) >= inputSize ||
      inputSize > SIM_NAME_CHARS)
    return AnswerStatus(answer, STATUS_INVALID_PARAMETER);
  CopyText(name, sizeof(name), (const char *)input);
  if (bufferSize < sizeof(ULONG))
    return AnswerStatus(answer, STATUS_BUFFER_TOO_SMALL);
  adapter = FindPresentAdapter(name);
  if (!adapter)
    return AnswerStatus(answer, STATUS_OBJECT_NAME_NOT_FOUND);
  script = FindScript(name, SIM_IOCTL_TARNUIOC_BIND);
  if (script)
    AnswerFromScript(answer, &script->reply, bufferSize);
  else
    AnswerBytes(answer, kDefaultReply, sizeof(kDefaultReply), bufferSize);
  answer->pendingMs = 0;
  if (NT_SUCCESS(answer->status) && answer->writeCount >= sizeof(ULONG) &&
      ReadUlong(answer->data) != 0) {
    open->bound = TRUE;
    open->boundSlot = (ULONG)(adapter - g_sim->adapters);
    open->boundGeneration = adapter->generation;
  }
}

/* The adapter a request on this open reaches, or NULL once it is gone. */
static ADAPTER *AdapterOfOpen(const OPEN_FILE *open) {
  ULONG slot = open->kind == KIND_ADAPTER ? open->slot : open->boundSlot;
  ULONG generation = open->kind == KIND_ADAPTER ? open->generation : open->boundGeneration;
  ADAPTER *adapter;
  if (open->kind == KIND_ACCESS && !open->bound)
    return NULL;
  adapter = &g_sim->adapters[slot];
  return adapter->present && adapter->generation == generation ? adapter : NULL;
}

/* ---- pending completion ---- */

static void WriteAnswer(PUCHAR buffer, const ANSWER *answer) {
  if (buffer && answer->writeCount)
    RtlCopyMemory(buffer, answer->data, answer->writeCount);
}

static void CompleteWithAnswer(PIRP irp, PUCHAR buffer, const ANSWER *answer) {
  WriteAnswer(buffer, answer);
  irp->IoStatus.Status = answer->status;
  irp->IoStatus.Information = answer->information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
}

static VOID CompletePending(PKDPC dpc, PVOID context, PVOID arg1, PVOID arg2) {
  PENDING *pending = context;
  KIRQL irql;
  PIRP irp;
  UNREFERENCED_PARAMETER(dpc);
  UNREFERENCED_PARAMETER(arg1);
  UNREFERENCED_PARAMETER(arg2);
  KeAcquireSpinLock(&g_sim->lock, &irql);
  irp = pending->busy ? pending->irp : NULL;
  if (irp) {
    WriteAnswer(pending->buffer, &pending->answer);
    irp->IoStatus.Status = pending->answer.status;
    irp->IoStatus.Information = pending->answer.information;
    pending->busy = FALSE;
    pending->irp = NULL;
  }
  KeReleaseSpinLock(&g_sim->lock, irql);
  if (irp)
    IoCompleteRequest(irp, IO_NO_INCREMENT);
}

/* Under the lock. FALSE when every pending slot is taken. */
static BOOLEAN StartPending(PIRP irp, PUCHAR buffer, const ANSWER *answer) {
  ULONG i;
  for (i = 0; i < SIM_MAX_PENDING; ++i) {
    PENDING *pending = &g_sim->pending[i];
    if (!pending->busy) {
      LARGE_INTEGER due;
      pending->busy = TRUE;
      pending->irp = irp;
      pending->buffer = buffer;
      pending->answer = *answer;
      IoMarkIrpPending(irp);
      due.QuadPart = -10000LL * answer->pendingMs;
      KeSetTimer(&pending->timer, due, &pending->dpc);
      return TRUE;
    }
  }
  return FALSE;
}

/* ---- control device ---- */

static void RemoveAdapter(ADAPTER *adapter) {
  UNICODE_STRING link;
  if (NT_SUCCESS(MakeObjectName(L"\\DosDevices\\", adapter->name, &link))) {
    IoDeleteSymbolicLink(&link);
    FreeObjectName(&link);
  }
  adapter->present = FALSE;
  ++adapter->generation;
}

static NTSTATUS AddAdapter(const SIM_ADAPTER *request) {
  ULONG i;
  ADAPTER *adapter = NULL;
  UNICODE_STRING link, target;
  WCHAR targetText[64];
  NTSTATUS status;

  if (!IsValidAdapterName(request->name, sizeof(request->name)) ||
      !IsTerminated(request->description, sizeof(request->description)) ||
      SameName(request->name, SIM_ACCESS_DEVICE_NAME) ||
      SameName(request->name, SIM_CONTROL_DEVICE_NAME))
    return STATUS_INVALID_PARAMETER;
  if (FindPresentAdapter(request->name))
    return STATUS_OBJECT_NAME_COLLISION;
  for (i = 0; i < SIM_MAX_ADAPTERS && !adapter; ++i)
    if (!g_sim->adapters[i].present)
      adapter = &g_sim->adapters[i];
  if (!adapter)
    return STATUS_INSUFFICIENT_RESOURCES;
  i = (ULONG)(adapter - g_sim->adapters);

  {
    static const WCHAR prefix[] = L"\\Device\\TarnuSimAdapter";
    ULONG length = 0;
    while (prefix[length]) {
      targetText[length] = prefix[length];
      ++length;
    }
    targetText[length++] = (WCHAR)(L'A' + i / 26);
    targetText[length++] = (WCHAR)(L'A' + i % 26);
    targetText[length] = 0;
    RtlInitUnicodeString(&target, targetText);
  }
  if (!adapter->device) {
    DEVICE_EXTENSION *extension;
    status = IoCreateDevice(g_sim->driver, sizeof(DEVICE_EXTENSION), &target,
                            FILE_DEVICE_UNKNOWN, 0, FALSE, &adapter->device);
    if (!NT_SUCCESS(status)) {
      adapter->device = NULL;
      return status;
    }
    extension = adapter->device->DeviceExtension;
    extension->kind = KIND_ADAPTER;
    extension->slot = i;
    adapter->device->Flags &= ~DO_DEVICE_INITIALIZING;
  }
  status = MakeObjectName(L"\\DosDevices\\", request->name, &link);
  if (!NT_SUCCESS(status))
    return status;
  status = IoCreateSymbolicLink(&link, &target);
  FreeObjectName(&link);
  if (!NT_SUCCESS(status))
    return status;
  CopyText(adapter->name, sizeof(adapter->name), request->name);
  CopyText(adapter->description, sizeof(adapter->description), request->description);
  adapter->order = ++g_sim->nextOrder;
  adapter->present = TRUE;
  return STATUS_SUCCESS;
}

static NTSTATUS SetScript(const SIM_REPLY *request) {
  SCRIPT *script;
  ULONG i;
  if (!IsTerminated(request->adapter, sizeof(request->adapter)) || !request->adapter[0] ||
      request->byteCount > SIM_REPLY_BYTES || request->status == (ULONG)STATUS_PENDING)
    return STATUS_INVALID_PARAMETER;
  script = FindScript(request->adapter, request->oid);
  for (i = 0; i < SIM_MAX_SCRIPTS && !script; ++i)
    if (!g_sim->scripts[i].used)
      script = &g_sim->scripts[i];
  if (!script)
    return STATUS_INSUFFICIENT_RESOURCES;
  script->used = TRUE;
  script->reply = *request;
  return STATUS_SUCCESS;
}

/* Wine opens a device even when its create handler fails, so an absent access driver
 * is one without its name. */
static void SetOptionFlags(ULONG flags) {
  if ((flags ^ g_sim->optionFlags) & SIM_OPTION_NO_ACCESS_DRIVER) {
    UNICODE_STRING link, target;
    RtlInitUnicodeString(&link, kAccessLink);
    RtlInitUnicodeString(&target, kAccessDevice);
    if (flags & SIM_OPTION_NO_ACCESS_DRIVER)
      IoDeleteSymbolicLink(&link);
    else
      IoCreateSymbolicLink(&link, &target);
  }
  g_sim->optionFlags = flags;
}

static void SetDefaults(void) {
  RtlZeroMemory(&g_sim->list, sizeof(g_sim->list));
  SetOptionFlags(0);
  g_sim->memorySize = SIM_DEFAULT_MEMORY_SIZE;
  g_sim->memoryValue = SIM_DEFAULT_MEMORY_VALUE;
}

/* Under the lock. */
static void ResetAll(void) {
  ULONG i;
  for (i = 0; i < SIM_MAX_ADAPTERS; ++i)
    if (g_sim->adapters[i].present)
      RemoveAdapter(&g_sim->adapters[i]);
  RtlZeroMemory(g_sim->scripts, sizeof(g_sim->scripts));
  for (i = 0; i < SIM_MAX_EVENTS; ++i)
    if (g_sim->events[i].used && g_sim->events[i].handle)
      ZwClose(g_sim->events[i].handle);
  RtlZeroMemory(g_sim->events, sizeof(g_sim->events));
  RtlZeroMemory(g_sim->queues, sizeof(g_sim->queues));
  g_sim->memoryBlocks = 0;
  g_sim->logCount = 0;
  g_sim->logLost = 0;
  SetDefaults();
}

/* Not under the lock: stopping a timer waits for its completion routine, which takes
 * the lock. A request whose timer was stopped before it fired completes as cancelled. */
static void CancelAllPending(void) {
  ULONG i;
  for (i = 0; i < SIM_MAX_PENDING; ++i) {
    PENDING *pending = &g_sim->pending[i];
    PIRP irp = NULL;
    KIRQL irql;
    KeCancelTimer(&pending->timer);
    KeAcquireSpinLock(&g_sim->lock, &irql);
    if (pending->busy) {
      irp = pending->irp;
      pending->busy = FALSE;
      pending->irp = NULL;
    }
    KeReleaseSpinLock(&g_sim->lock, irql);
    if (irp) {
      irp->IoStatus.Status = STATUS_CANCELLED;
      irp->IoStatus.Information = 0;
      IoCompleteRequest(irp, IO_NO_INCREMENT);
    }
  }
}

static NTSTATUS SignalEvent(const SIM_EVENT_NAME *request) {
  ULONG i;
  if (!IsTerminated(request->name, sizeof(request->name)) || !request->name[0])
    return STATUS_INVALID_PARAMETER;
  for (i = 0; i < SIM_MAX_EVENTS; ++i) {
    SIM_EVENT *event = &g_sim->events[i];
    if (event->used && event->handle && SameName(event->name, request->name))
      return ZwSetEvent(event->handle, NULL);
  }
  return STATUS_NOT_FOUND;
}

static void FillState(SIM_STATE *state) {
  ULONG i;
  RtlZeroMemory(state, sizeof(*state));
  for (i = 0; i < SIM_MAX_ADAPTERS; ++i)
    state->adapters += g_sim->adapters[i].present;
  state->openHandles = g_sim->openHandles;
  for (i = 0; i < SIM_MAX_EVENTS; ++i)
    state->events += g_sim->events[i].used;
  for (i = 0; i < SIM_MAX_QUEUES; ++i)
    state->queues += g_sim->queues[i].used;
  state->memoryBlocks = g_sim->memoryBlocks;
  for (i = 0; i < SIM_MAX_PENDING; ++i)
    state->pending += g_sim->pending[i].busy;
  state->logLost = g_sim->logLost;
}

/* Every control request carries exactly its record; anything else changes nothing. */
static NTSTATUS HandleControl(PIRP irp, PIO_STACK_LOCATION stack) {
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  ULONG inputSize = stack->Parameters.DeviceIoControl.InputBufferLength;
  ULONG outputSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
  PVOID buffer = irp->AssociatedIrp.SystemBuffer;
  NTSTATUS status = STATUS_SUCCESS;
  KIRQL irql;

#define EXPECT_INPUT(type) \
  if (inputSize != sizeof(type) || !buffer) { \
    status = STATUS_INVALID_PARAMETER; \
    break; \
  }

  irp->IoStatus.Information = 0;
  KeAcquireSpinLock(&g_sim->lock, &irql);
  switch (code) {
  case SIM_IOCTL_RESET:
    ResetAll();
    break;
  case SIM_IOCTL_ADD_ADAPTER:
    EXPECT_INPUT(SIM_ADAPTER);
    status = AddAdapter(buffer);
    break;
  case SIM_IOCTL_REMOVE_ADAPTER: {
    const SIM_ADAPTER *request = buffer;
    ADAPTER *adapter;
    EXPECT_INPUT(SIM_ADAPTER);
    adapter = IsTerminated(request->name, sizeof(request->name)) ? FindPresentAdapter(request->name)
                                                                 : NULL;
    if (adapter)
      RemoveAdapter(adapter);
    else
      status = STATUS_NOT_FOUND;
    break;
  }
  case SIM_IOCTL_SET_REPLY:
    EXPECT_INPUT(SIM_REPLY);
    status = SetScript(buffer);
    break;
  case SIM_IOCTL_FORGET_REPLY: {
    const SIM_REPLY *request = buffer;
    SCRIPT *script;
    EXPECT_INPUT(SIM_REPLY);
    script = IsTerminated(request->adapter, sizeof(request->adapter))
                 ? FindScript(request->adapter, request->oid)
                 : NULL;
    if (script)
      script->used = FALSE;
    else
      status = STATUS_NOT_FOUND;
    break;
  }
  case SIM_IOCTL_SET_BIND_REPLY: {
    const SIM_BIND_REPLY *request = buffer;
    SIM_REPLY *reply;
    EXPECT_INPUT(SIM_BIND_REPLY);
    if (!IsTerminated(request->adapter, sizeof(request->adapter))) {
      status = STATUS_INVALID_PARAMETER;
      break;
    }
    reply = ExAllocatePoolWithTag(NonPagedPool, sizeof(*reply), POOL_TAG);
    if (!reply) {
      status = STATUS_INSUFFICIENT_RESOURCES;
      break;
    }
    /* A bind script is an ordinary script keyed by the bind code. */
    RtlZeroMemory(reply, sizeof(*reply));
    CopyText(reply->adapter, sizeof(reply->adapter), request->adapter);
    reply->oid = SIM_IOCTL_TARNUIOC_BIND;
    reply->flags = request->succeed ? SIM_REPLY_SUCCEED : 0;
    reply->byteCount = request->succeed ? sizeof(ULONG) : 0;
    WriteUlong(reply->bytes, request->reply);
    status = SetScript(reply);
    ExFreePoolWithTag(reply, POOL_TAG);
    break;
  }
  case SIM_IOCTL_SET_LIST: {
    const SIM_LIST *request = buffer;
    EXPECT_INPUT(SIM_LIST);
    if (request->mode > SIM_LIST_RAW || request->byteCount > SIM_LIST_BYTES)
      status = STATUS_INVALID_PARAMETER;
    else
      g_sim->list = *request;
    break;
  }
  case SIM_IOCTL_SET_OPTIONS: {
    const SIM_OPTIONS *request = buffer;
    EXPECT_INPUT(SIM_OPTIONS);
    if ((request->setFlags | request->clearFlags) & ~SIM_OPTION_ALL) {
      status = STATUS_INVALID_PARAMETER;
      break;
    }
    SetOptionFlags((g_sim->optionFlags & ~request->clearFlags) | request->setFlags);
    if (request->memoryGiven) {
      g_sim->memorySize = request->memorySize;
      g_sim->memoryValue = request->memoryValue;
    }
    break;
  }
  case SIM_IOCTL_READ_LOG: {
    ULONG index;
    EXPECT_INPUT(ULONG);
    index = *(const ULONG *)buffer;
    if (outputSize < sizeof(SIM_LOG_RECORD)) {
      status = STATUS_BUFFER_TOO_SMALL;
    } else if (index >= g_sim->logCount) {
      status = STATUS_NO_MORE_ENTRIES;
    } else {
      RtlCopyMemory(buffer, &g_sim->log[index], sizeof(SIM_LOG_RECORD));
      irp->IoStatus.Information = sizeof(SIM_LOG_RECORD);
    }
    break;
  }
  case SIM_IOCTL_CLEAR_LOG:
    g_sim->logCount = 0;
    g_sim->logLost = 0;
    break;
  case SIM_IOCTL_SIGNAL_EVENT:
    EXPECT_INPUT(SIM_EVENT_NAME);
    status = SignalEvent(buffer);
    break;
  case SIM_IOCTL_GET_STATE:
    if (outputSize < sizeof(SIM_STATE) || !buffer) {
      status = STATUS_BUFFER_TOO_SMALL;
    } else {
      FillState(buffer);
      irp->IoStatus.Information = sizeof(SIM_STATE);
    }
    break;
  default:
    status = STATUS_INVALID_DEVICE_REQUEST;
    break;
  }
#undef EXPECT_INPUT
  KeReleaseSpinLock(&g_sim->lock, irql);

  if (code == SIM_IOCTL_RESET)
    CancelAllPending();
  irp->IoStatus.Status = status;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

/* ---- adapter and access devices ---- */

static NTSTATUS HandleDeviceRequest(PIRP irp, PIO_STACK_LOCATION stack, OPEN_FILE *open) {
  ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
  ULONG method = code & 3;
  REQUEST_VIEW request;
  PUCHAR buffer = NULL;
  ANSWER *answer;
  ADAPTER *adapter;
  KIRQL irql;
  NTSTATUS status;

  answer = ExAllocatePoolWithTag(NonPagedPool, sizeof(*answer), POOL_TAG);
  if (!answer) {
    irp->IoStatus.Status = STATUS_INSUFFICIENT_RESOURCES;
    irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return STATUS_INSUFFICIENT_RESOURCES;
  }

  RtlZeroMemory(&request, sizeof(request));
  request.handle = open->id;
  request.code = code;
  request.bufferSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
  /* Input is read only where the I/O manager copied it for us. */
  if (method == METHOD_BUFFERED || method == METHOD_IN_DIRECT || method == METHOD_OUT_DIRECT) {
    request.input = irp->AssociatedIrp.SystemBuffer;
    request.inputSize = request.input ? stack->Parameters.DeviceIoControl.InputBufferLength : 0;
  }
  if (method == METHOD_OUT_DIRECT && irp->MdlAddress && request.bufferSize) {
    buffer = MmGetSystemAddressForMdlSafe(irp->MdlAddress, NormalPagePriority);
    request.bufferSize = min(request.bufferSize, MmGetMdlByteCount(irp->MdlAddress));
  }
  else if (method == METHOD_BUFFERED && request.bufferSize)
    buffer = irp->AssociatedIrp.SystemBuffer;
  if (!buffer)
    request.bufferSize = 0;
  /* A buffered request's output starts as a copy of its input, not the caller's buffer. */
  request.buffer = method == METHOD_OUT_DIRECT ? buffer : NULL;

  KeAcquireSpinLock(&g_sim->lock, &irql);
  request.device = open->device;
  adapter = AdapterOfOpen(open);
  if (code == SIM_IOCTL_NDIS_QUERY_GLOBAL_STATS && request.inputSize >= sizeof(ULONG))
    request.oid = ReadUlong(request.input);

  if (open->kind == KIND_ADAPTER && !adapter) {
    AnswerStatus(answer, STATUS_NO_SUCH_DEVICE);
  } else if (code == SIM_IOCTL_NDIS_QUERY_GLOBAL_STATS) {
    if (request.inputSize < sizeof(ULONG))
      AnswerStatus(answer, STATUS_INVALID_PARAMETER);
    else if (!adapter) /* access device, unbound or its adapter gone */
      AnswerStatus(answer, open->bound ? STATUS_NO_SUCH_DEVICE : STATUS_INVALID_DEVICE_STATE);
    else
      AnswerQuery(answer, adapter, request.oid, buffer, request.bufferSize,
                  open->kind == KIND_ACCESS);
  } else if (open->kind == KIND_ACCESS && code == SIM_IOCTL_TARNUIOC_BIND) {
    AnswerBind(answer, open, request.input, request.inputSize, request.bufferSize);
  } else if (open->kind == KIND_ACCESS && code == SIM_IOCTL_TARNUIOC_UNBIND) {
    open->bound = FALSE;
    AnswerStatus(answer, STATUS_SUCCESS);
  } else if (open->kind == KIND_ACCESS && code == SIM_IOCTL_TARNUIOC_LIST_ADAPTERS) {
    AnswerAdapterList(answer, request.bufferSize);
  } else {
    AnswerStatus(answer, STATUS_INVALID_DEVICE_REQUEST);
  }

  if (answer->pendingMs && !StartPending(irp, buffer, answer))
    AnswerStatus(answer, STATUS_INSUFFICIENT_RESOURCES);
  AppendLog(&request, answer);
  KeReleaseSpinLock(&g_sim->lock, irql);

  if (answer->pendingMs) {
    status = STATUS_PENDING;
  } else {
    status = answer->status;
    CompleteWithAnswer(irp, buffer, answer);
  }
  ExFreePoolWithTag(answer, POOL_TAG);
  return status;
}

/* ---- dispatch ---- */

static NTSTATUS Complete(PIRP irp, NTSTATUS status) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = 0;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
  DEVICE_EXTENSION *extension = device->DeviceExtension;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  OPEN_FILE *open;
  NTSTATUS status = STATUS_SUCCESS;
  KIRQL irql;

  stack->FileObject->FsContext = NULL;
  if (extension->kind == KIND_CONTROL)
    return Complete(irp, STATUS_SUCCESS);
  open = ExAllocatePoolWithTag(NonPagedPool, sizeof(*open), POOL_TAG);
  if (!open)
    return Complete(irp, STATUS_INSUFFICIENT_RESOURCES);
  RtlZeroMemory(open, sizeof(*open));

  KeAcquireSpinLock(&g_sim->lock, &irql);
  open->id = ++g_sim->nextHandleId;
  open->kind = extension->kind;
  open->slot = extension->slot;
  if (extension->kind == KIND_ADAPTER) {
    ADAPTER *adapter = &g_sim->adapters[extension->slot];
    open->generation = adapter->generation;
    if (!adapter->present)
      status = STATUS_NO_SUCH_DEVICE;
  }
  CopyText(open->device, sizeof(open->device),
           extension->kind == KIND_ACCESS ? SIM_ACCESS_DEVICE_NAME
                                          : g_sim->adapters[extension->slot].name);
  LogOpenOrClose(open->device, open->id, SIM_CODE_OPEN, status);
  if (NT_SUCCESS(status))
    ++g_sim->openHandles;
  KeReleaseSpinLock(&g_sim->lock, irql);

  if (NT_SUCCESS(status))
    stack->FileObject->FsContext = open;
  else
    ExFreePoolWithTag(open, POOL_TAG);
  return Complete(irp, status);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  OPEN_FILE *open = stack->FileObject ? stack->FileObject->FsContext : NULL;
  KIRQL irql;
  UNREFERENCED_PARAMETER(device);
  if (open) {
    KeAcquireSpinLock(&g_sim->lock, &irql);
    LogOpenOrClose(open->device, open->id, SIM_CODE_CLOSE, STATUS_SUCCESS);
    --g_sim->openHandles;
    KeReleaseSpinLock(&g_sim->lock, irql);
    stack->FileObject->FsContext = NULL;
    ExFreePoolWithTag(open, POOL_TAG);
  }
  return Complete(irp, STATUS_SUCCESS);
}

static NTSTATUS DispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
  UNREFERENCED_PARAMETER(device);
  return Complete(irp, STATUS_SUCCESS);
}

static NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp) {
  DEVICE_EXTENSION *extension = device->DeviceExtension;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  OPEN_FILE *open;
  if (extension->kind == KIND_CONTROL)
    return HandleControl(irp, stack);
  open = stack->FileObject ? stack->FileObject->FsContext : NULL;
  if (!open)
    return Complete(irp, STATUS_INVALID_HANDLE);
  return HandleDeviceRequest(irp, stack, open);
}

static NTSTATUS CreateNamedDevice(PDRIVER_OBJECT driver, const WCHAR *deviceName,
                                  const WCHAR *linkName, DEVICE_KIND kind) {
  UNICODE_STRING name, link;
  PDEVICE_OBJECT device;
  DEVICE_EXTENSION *extension;
  NTSTATUS status;
  RtlInitUnicodeString(&name, deviceName);
  RtlInitUnicodeString(&link, linkName);
  status = IoCreateDevice(driver, sizeof(DEVICE_EXTENSION), &name, FILE_DEVICE_UNKNOWN, 0,
                          FALSE, &device);
  if (!NT_SUCCESS(status))
    return status;
  extension = device->DeviceExtension;
  extension->kind = kind;
  extension->slot = 0;
  status = IoCreateSymbolicLink(&link, &name);
  if (!NT_SUCCESS(status))
    IoDeleteDevice(device);
  return status;
}

static VOID DriverUnload(PDRIVER_OBJECT driver) {
  UNICODE_STRING link;
  KIRQL irql;
  KeAcquireSpinLock(&g_sim->lock, &irql);
  ResetAll();
  KeReleaseSpinLock(&g_sim->lock, irql);
  CancelAllPending();
  RtlInitUnicodeString(&link, L"\\DosDevices\\" SIM_CONTROL_DEVICE_NAME);
  IoDeleteSymbolicLink(&link);
  RtlInitUnicodeString(&link, kAccessLink);
  IoDeleteSymbolicLink(&link);
  while (driver->DeviceObject)
    IoDeleteDevice(driver->DeviceObject);
  ExFreePoolWithTag(g_sim, POOL_TAG);
  g_sim = NULL;
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  NTSTATUS status;
  ULONG i;
  UNREFERENCED_PARAMETER(registryPath);

  g_sim = ExAllocatePoolWithTag(NonPagedPool, sizeof(*g_sim), POOL_TAG);
  if (!g_sim)
    return STATUS_INSUFFICIENT_RESOURCES;
  RtlZeroMemory(g_sim, sizeof(*g_sim));
  KeInitializeSpinLock(&g_sim->lock);
  g_sim->driver = driver;
  SetDefaults();
  for (i = 0; i < SIM_MAX_PENDING; ++i) {
    KeInitializeTimer(&g_sim->pending[i].timer);
    KeInitializeDpc(&g_sim->pending[i].dpc, CompletePending, &g_sim->pending[i]);
  }

  driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
  driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
  driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
  driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
  driver->DriverUnload = DriverUnload;

  status = CreateNamedDevice(driver, L"\\Device\\TarnuSimControl",
                             L"\\DosDevices\\" SIM_CONTROL_DEVICE_NAME, KIND_CONTROL);
  if (NT_SUCCESS(status))
    status = CreateNamedDevice(driver, kAccessDevice, kAccessLink, KIND_ACCESS);
  if (!NT_SUCCESS(status))
    DriverUnload(driver);
  return status;
}

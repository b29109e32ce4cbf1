// tarnusim: scripts the simulated adapter by hand, one command per run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SimClient.h"

namespace {

const char kUsage[] =
    "usage: tarnusim COMMAND [ARGS]\n"
    "  install                          install and start the driver service\n"
    "  reset                            no adapters, no scripts, empty log\n"
    "  add NAME [DESCRIPTION]           add an adapter (\\\\.\\NAME)\n"
    "  remove NAME                      remove it again\n"
    "  answer NAME OID HEX [OPTIONS]    script the reply bytes of an OID\n"
    "      --fail  --leave  --count N  --pending MS\n"
    "  dword NAME OID VALUE             script a 4-byte reply\n"
    "  forget NAME OID                  the OID fails again\n"
    "  bind NAME REPLY [--fail]         the access driver's bind reply\n"
    "  list-raw HEX | list-adapters | list-fails on|off\n"
    "  signal EVENTNAME                 signal an event the driver holds\n"
    "  memory SIZE VALUE                driver memory size and allocate answer\n"
    "  access-driver on|off  events-unopenable on|off  log-opens on|off\n"
    "  state                            what the driver holds\n"
    "  log [--clear]                    print the request log\n";

bool ParseNumber(const char *text, ULONG *value) {
  char *end = nullptr;
  unsigned long parsed = strtoul(text, &end, 0);
  if (!*text || *end)
    return false;
  *value = static_cast<ULONG>(parsed);
  return true;
}

// "0c", "0c000000", "0c 00 00 00" or "0c:00": pairs of hex digits, separators allowed.
bool ParseHex(const char *text, std::vector<BYTE> *bytes) {
  bytes->clear();
  int high = -1;
  for (; *text; ++text) {
    char c = *text;
    if (c == ' ' || c == ':' || c == '-' || c == ',')
      continue;
    int digit = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
    if (digit < 0)
      return false;
    if (high < 0) {
      high = digit;
    } else {
      bytes->push_back(static_cast<BYTE>(high * 16 + digit));
      high = -1;
    }
  }
  return high < 0;
}

std::string Hex(const std::vector<BYTE> &bytes) {
  std::string text;
  char pair[4];
  for (BYTE b : bytes) {
    snprintf(pair, sizeof(pair), "%02x", b);
    text += pair;
  }
  return text;
}

void PrintLog(const std::vector<sim::LogEntry> &log) {
  for (const sim::LogEntry &e : log) {
    printf("%s handle=%lu code=0x%08lX oid=0x%08lX in=%s size=%lu before=%s -> status=0x%08lX "
           "returned=%lu%s\n",
           e.device.c_str(), e.handle, e.code, e.oid, Hex(e.input).c_str(), e.bufferSize,
           Hex(e.bufferBefore).c_str(), e.status, e.bytesReturned, e.pended ? " pended" : "");
  }
}

int Fail(const char *what) {
  fprintf(stderr, "tarnusim: %s\n", what);
  return 1;
}

int Run(int argc, char **argv) {
  if (argc < 2) {
    fputs(kUsage, stderr);
    return 2;
  }
  std::string command = argv[1];
  if (command == "install") {
    std::string failure = sim::InstallDriver();
    return failure.empty() ? 0 : Fail(failure.c_str());
  }

  sim::Client sim;
  if (!sim.IsOpen())
    return Fail("the simulated adapter driver is not running (tarnusim install)");
  ULONG oid = 0, value = 0;
  bool ok = false;
  if (command == "reset" && argc == 2) {
    ok = sim.Reset();
  } else if (command == "add" && (argc == 3 || argc == 4)) {
    ok = sim.AddAdapter(argv[2], argc == 4 ? argv[3] : "");
  } else if (command == "remove" && argc == 3) {
    ok = sim.RemoveAdapter(argv[2]);
  } else if (command == "answer" && argc >= 5 && ParseNumber(argv[3], &oid)) {
    sim::Reply reply;
    if (!ParseHex(argv[4], &reply.bytes))
      return Fail("reply bytes must be hexadecimal pairs");
    for (int i = 5; i < argc; ++i) {
      std::string option = argv[i];
      if (option == "--fail")
        reply.succeed = false;
      else if (option == "--leave")
        reply.leaveBuffer = true;
      else if (option == "--count" && i + 1 < argc && ParseNumber(argv[i + 1], &value))
        reply.bytesReturned = value, ++i;
      else if (option == "--pending" && i + 1 < argc && ParseNumber(argv[i + 1], &value))
        reply.pendingMs = value, ++i;
      else
        return Fail(("unknown option " + option).c_str());
    }
    ok = sim.Answer(argv[2], oid, reply);
  } else if (command == "dword" && argc == 5 && ParseNumber(argv[3], &oid) &&
             ParseNumber(argv[4], &value)) {
    ok = sim.AnswerDword(argv[2], oid, value);
  } else if (command == "forget" && argc == 4 && ParseNumber(argv[3], &oid)) {
    ok = sim.Forget(argv[2], oid);
  } else if (command == "bind" && (argc == 4 || (argc == 5 && !strcmp(argv[4], "--fail"))) &&
             ParseNumber(argv[3], &value)) {
    ok = sim.SetBindReply(argv[2], value, argc == 4);
  } else if (command == "list-raw" && argc == 3) {
    std::vector<BYTE> raw;
    if (!ParseHex(argv[2], &raw))
      return Fail("list bytes must be hexadecimal pairs");
    ok = sim.SetListReply(raw);
  } else if (command == "list-adapters" && argc == 2) {
    ok = sim.UseAdapterList();
  } else if (command == "list-fails" && argc == 3) {
    ok = sim.SetListFails(!strcmp(argv[2], "on"));
  } else if (command == "memory" && argc == 4 && ParseNumber(argv[2], &oid) &&
             ParseNumber(argv[3], &value)) {
    ok = sim.SetMemoryBlock(oid, value);
  } else if (command == "access-driver" && argc == 3) {
    ok = sim.SetAccessDriverPresent(!strcmp(argv[2], "on"));
  } else if (command == "events-unopenable" && argc == 3) {
    ok = sim.SetEventUnopenable(!strcmp(argv[2], "on"));
  } else if (command == "log-opens" && argc == 3) {
    ok = sim.LogOpens(!strcmp(argv[2], "on"));
  } else if (command == "signal" && argc == 3) {
    ok = sim.SignalEvent(argv[2]);
  } else if (command == "state" && argc == 2) {
    sim::State state = sim.GetState();
    printf("adapters=%lu open=%lu events=%lu queues=%lu memory=%lu pending=%lu lost=%lu\n",
           state.adapters, state.openHandles, state.events, state.queues, state.memoryBlocks,
           state.pending, state.logLost);
    ok = true;
  } else if (command == "log" && (argc == 2 || (argc == 3 && !strcmp(argv[2], "--clear")))) {
    PrintLog(sim.Log());
    ok = argc == 2 || sim.ClearLog();
  } else {
    fputs(kUsage, stderr);
    return 2;
  }
  return ok ? 0 : Fail("the driver refused the request");
}

}  // namespace

int main(int argc, char **argv) { return Run(argc, argv); }

// The command-line tool scripts the same driver a test client does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedDriverTest.h"
#include "TestSupport.h"

namespace {

const char kGuid[] = "{6A2B0C1D-11E2-4F3A-9B8C-7D6E5F403122}";

// Runs tarnusim.exe with the given arguments; returns its exit code and its output.
DWORD RunTool(const std::string &arguments, std::string *output) {
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd, writeEnd;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    *output = "CreatePipe failed with error " + std::to_string(GetLastError());
    return 0xFFFFFFFF;
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process = {};
  std::string commandLine =
      "\"" + testsupport::PathBesideProgram("tarnusim.exe") + "\" " + arguments;
  DWORD exitCode = 0xFFFFFFFF;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    *output = "CreateProcess failed with error " + std::to_string(GetLastError());
  } else {
    CloseHandle(writeEnd);
    writeEnd = nullptr;
    char chunk[512];
    DWORD read;
    while (ReadFile(readEnd, chunk, sizeof(chunk), &read, nullptr) && read)
      output->append(chunk, read);
    WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (writeEnd)
    CloseHandle(writeEnd);
  CloseHandle(readEnd);
  return exitCode;
}

class TarnusimToolTest : public SimulatedDriverTest {};

TEST_F(TarnusimToolTest, ScriptsAdaptersAndAnswersAndPrintsTheLog) {
  std::string output;
  ASSERT_EQ(0u, RunTool(std::string("add ") + kGuid + " \"Wireless adapter\"", &output)) << output;
  ASSERT_EQ(0u, RunTool(std::string("answer ") + kGuid + " 0xFF02019E 0c", &output)) << output;
  ASSERT_EQ(0u, RunTool(std::string("answer ") + kGuid + " 0xFF03000F 08:00:00:00 --count 2",
                        &output))
      << output;
  EXPECT_EQ(1u, sim.GetState().adapters);

  HANDLE device = CreateFileA((std::string("\\\\.\\") + kGuid).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, device);
  ULONG oid = 0xFF02019E;
  BYTE level = 0;
  DWORD returned;
  ASSERT_TRUE(DeviceIoControl(device, sim::kIoctlQueryGlobalStats, &oid, 4, &level, 1, &returned,
                              nullptr));
  EXPECT_EQ(0x0C, level);
  oid = 0xFF03000F;
  ULONG rate = 0;
  ASSERT_TRUE(DeviceIoControl(device, sim::kIoctlQueryGlobalStats, &oid, 4, &rate, 4, &returned,
                              nullptr));
  EXPECT_EQ(2u, returned);
  EXPECT_EQ(8u, rate);
  CloseHandle(device);

  output.clear();
  ASSERT_EQ(0u, RunTool("log --clear", &output));
  EXPECT_NE(std::string::npos, output.find("oid=0xFF02019E")) << output;
  EXPECT_TRUE(sim.Log().empty());

  ASSERT_EQ(0u, RunTool(std::string("remove ") + kGuid, &output));
  EXPECT_EQ(0u, sim.GetState().adapters);
}

TEST_F(TarnusimToolTest, BadCommandsFailWithoutChangingAnything) {
  static const struct {
    const char *arguments;
    DWORD exitCode;
  } cases[] = {
      {"", 2},
      {"frobnicate", 2},
      {"answer {X} 0xFF02019E 0g", 1},   // not hexadecimal
      {"answer {X} 0xFF02019E 0", 1},    // half a byte
      {"answer {X} 0xFF02019E 00 --bogus", 1},
      {"dword {X} oid 1", 2},
      {"remove {absent}", 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.arguments);
    std::string output;
    EXPECT_EQ(c.exitCode, RunTool(c.arguments, &output)) << output;
  }
  EXPECT_EQ(0u, sim.GetState().adapters);
}

}  // namespace

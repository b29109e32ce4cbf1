// The application object's start sequence, command line and name.
#include <gtest/gtest.h>

#include <string>

#include "Framework/WinApp.h"

namespace {

class SequenceApp : public CWinApp {
public:
  SequenceApp(BOOL bApplication, BOOL bInstance, LPCSTR pszName = nullptr)
      : CWinApp(pszName), m_bApplication(bApplication), m_bInstance(bInstance) {}

  BOOL InitApplication() override {
    m_log += "InitApplication;";
    return m_bApplication;
  }
  BOOL InitInstance() override {
    m_log += "InitInstance;";
    if (m_bInstance)
      PostQuitMessage(7); // ends the message loop that follows
    return m_bInstance;
  }
  int ExitInstance() override {
    m_log += "ExitInstance;";
    return CWinApp::ExitInstance() + 100;
  }

  std::string m_log;
  BOOL m_bApplication, m_bInstance;
};

TEST(AppTest, StartSequenceEndsWhereAStepDeclines) {
  static const struct {
    BOOL bApplication, bInstance;
    const char *log;
    int exitCode;
  } cases[] = {
      {FALSE, TRUE, "InitApplication;", 0},
      {TRUE, FALSE, "InitApplication;InitInstance;ExitInstance;", 100},
      {TRUE, TRUE, "InitApplication;InitInstance;ExitInstance;", 107},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.log);
    SequenceApp app(c.bApplication, c.bInstance);
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(c.exitCode, AfxWinMain(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL));
    EXPECT_EQ(c.log, app.m_log);
  }
  EXPECT_TRUE(AfxGetApp() == nullptr);
}

TEST(AppTest, CommandLineIsAWritableCopyAndTheNameDefaultsToTheProgramName) {
  char commandLine[] = "INSTALL CONFIGURE";
  SequenceApp app(FALSE, FALSE);
  AfxWinMain(GetModuleHandleA(nullptr), commandLine, SW_SHOWNORMAL);
  ASSERT_TRUE(app.m_lpCmdLine != nullptr);
  EXPECT_STREQ("INSTALL CONFIGURE", app.m_lpCmdLine);
  EXPECT_NE(commandLine, app.m_lpCmdLine);
  app.m_lpCmdLine[0] = '\0';
  EXPECT_STREQ("INSTALL CONFIGURE", commandLine);
  EXPECT_STREQ("framework_test", app.m_pszAppName);
  EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetInstanceHandle());

  SequenceApp named(FALSE, FALSE, "Named");
  AfxWinMain(GetModuleHandleA(nullptr), nullptr, SW_SHOWNORMAL);
  EXPECT_STREQ("Named", named.m_pszAppName);
  EXPECT_STREQ("", named.m_lpCmdLine);
}

} // namespace

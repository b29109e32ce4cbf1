// Strings, icons, menus and dialogs come from the program file until a resource module
// is set, and from that module afterwards.
#include "FrameworkFixture.h"

namespace {

using ResourceTest = FrameworkTest;

TEST_F(ResourceTest, ResourceHandleRedirectsLookUps) {
  AfxSetResourceHandle(nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
  CString where;
  EXPECT_TRUE(where.LoadString(IDS_WHERE));
  EXPECT_STREQ("from the program file", where);
  EXPECT_TRUE(m_app.LoadIcon(IDI_TEST) == nullptr);
  CMenu menu;
  EXPECT_FALSE(menu.LoadMenu(IDM_TRAY));
  EXPECT_EQ(-1, ScriptedDialog().DoModal());

  AfxSetResourceHandle(m_hResources);
  EXPECT_EQ(m_hResources, AfxGetResourceHandle());
  EXPECT_TRUE(where.LoadString(IDS_WHERE));
  EXPECT_STREQ("from the resource module", where);
  EXPECT_TRUE(m_app.LoadIcon(IDI_TEST) != nullptr);
  EXPECT_TRUE(menu.LoadMenu(IDM_TRAY));
}

TEST_F(ResourceTest, MissingStringLoadsEmpty) {
  CString text("old text");
  EXPECT_FALSE(text.LoadString(IDS_MISSING));
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_STREQ("", text);
}

} // namespace

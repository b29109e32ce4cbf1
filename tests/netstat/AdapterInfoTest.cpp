// The adapter object hands out one empty filter for its whole life: the applet therefore
// works with the first adapter listed, and the configuration applet gets "" as adapter
// text, never a null pointer.
#include <gtest/gtest.h>

#include <cstring>

#include "AdapterInfo.h"

TEST(AdapterInfoTest, FilterIsOneEmptyStringForTheObjectsLife) {
  CAdapterInfo *adapter = new CAdapterInfo;
  CString *filter = adapter->GetDescriptionFilter();
  ASSERT_TRUE(filter != nullptr);
  EXPECT_EQ(filter, adapter->GetDescriptionFilter());
  EXPECT_TRUE(filter->IsEmpty());
  LPCSTR text = *filter;
  ASSERT_TRUE(text != nullptr);
  EXPECT_STREQ("", text);

  // No window is ever made for it; destroying it through its base class is safe.
  EXPECT_TRUE(adapter->GetSafeHwnd() == nullptr);
  CEdit *asEdit = adapter;
  delete asEdit;
}

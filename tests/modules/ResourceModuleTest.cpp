// TARNURES.DLL and its test variants, loaded under Wine: what each holds, and whether the
// dialogs, menu, icons and strings are fit for what the applet does with them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "LoadedModule.h"
#include "TestSupport.h"

namespace {

const int kStateIcons[] = {0x200, 0x201, 0x202, 0x203, 0x204, 0x205, 0x206,
                           0x207, 0x89,  0x88,  0x91,  0x92,  0x93,  0x94,
                           0x95,  0x96,  0x97,  0x98,  0x99};
const int kCommands[] = {ID_CONFIGURE, ID_EXIT,           ID_ADHOC_NETWORK,  ID_OTHER_NETWORK,
                         ID_REMOVE_ICON, ID_STATUS,       ID_ABOUT,          ID_ADD_PROFILE,
                         ID_DELETE_PROFILE, ID_RENAME_PROFILE, ID_RADIO_ON, ID_RADIO_OFF,
                         ID_WEP};

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::set<int> *>(names)->insert(static_cast<int>(
        reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

std::set<int> ResourceIds(HMODULE module, LPCSTR type) {
  std::set<int> names;
  EnumResourceNamesA(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
  return names;
}

std::string LoadText(HMODULE module, UINT id) {
  char text[512] = "";
  LoadStringA(module, id, text, sizeof text);
  return text;
}

std::set<int> Range(std::initializer_list<int> ids) { return std::set<int>(ids); }

std::set<int> AllIcons() {
  std::set<int> icons(std::begin(kStateIcons), std::end(kStateIcons));
  icons.insert(IDR_MAINFRAME);
  return icons;
}

std::set<int> Without(std::set<int> ids, int id) {
  ids.erase(id);
  return ids;
}

// ---------------------------------------------------------------------------------------
// What each module holds.

struct Inventory {
  const char *path;
  std::set<int> dialogs;
  std::set<int> icons;
  bool hasMenu;
  bool hasStrings;
  bool hasVersion;
};

TEST(ResourceModuleTest, EachModuleHoldsExactlyItsResources) {
  const std::set<int> allDialogs = Range({256, 258, 259, 260, 261, 262, 263});
  const Inventory cases[] = {
      {"TARNURES.DLL", allDialogs, AllIcons(), true, true, true},
      {"doubles\\res-no-status-template\\TARNURES.DLL", Without(allDialogs, 256), AllIcons(),
       true, true, false},
      {"doubles\\res-no-state-icon\\TARNURES.DLL", allDialogs, Without(AllIcons(), 0x207), true,
       true, false},
      {"doubles\\res-essentials\\TARNURES.DLL", Range({256}), AllIcons(), true, false, false},
  };
  for (const Inventory &expected : cases) {
    SCOPED_TRACE(expected.path);
    LoadedModule module(expected.path);
    ASSERT_TRUE(module.Handle() != NULL);
    EXPECT_EQ(expected.dialogs, ResourceIds(module.Handle(), RT_DIALOG));
    EXPECT_EQ(expected.icons, ResourceIds(module.Handle(), RT_GROUP_ICON));
    EXPECT_EQ(expected.hasMenu ? Range({IDR_TRAY_MENU}) : Range({}),
              ResourceIds(module.Handle(), RT_MENU));
    EXPECT_EQ(expected.hasStrings, !ResourceIds(module.Handle(), RT_STRING).empty());
    EXPECT_EQ(expected.hasVersion, !ResourceIds(module.Handle(), RT_VERSION).empty());
  }
}

// ---------------------------------------------------------------------------------------
// Dialogs, created for real (hidden) from the module's templates.

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  std::transform(name, name + strlen(name), name, [](char c) { return (char)tolower(c); });
  return name;
}

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

enum class Kind { Edit, CheckBox };

struct Control {
  int id;
  Kind kind;
};

struct DialogCase {
  int id;
  std::vector<Control> fields; // in the order Tab visits them, before OK and Cancel
};

class DialogTest : public ::testing::Test {
protected:
  DialogTest() : m_module("TARNURES.DLL") {}
  HWND Create(int id) {
    return CreateDialogParamA(m_module.Handle(), MAKEINTRESOURCEA(id), NULL, QuietDialogProc, 0);
  }
  LoadedModule m_module;
};

TEST_F(DialogTest, FieldsOkAndCancelAreThereInTabOrder) {
  const DialogCase cases[] = {
      {IDD_REMOVE_ICON, {{IDC_REMOVE_AUTOSTART, Kind::CheckBox}}},
      {IDD_ADHOC_NETWORK, {{IDC_SSID, Kind::Edit}, {IDC_KEY, Kind::Edit}}},
      {IDD_OTHER_NETWORK, {{IDC_SSID, Kind::Edit}, {IDC_KEY, Kind::Edit}}},
      {IDD_ADD_PROFILE, {{IDC_PROFILE_NAME, Kind::Edit}}},
      {IDD_RENAME_PROFILE, {{IDC_PROFILE_NAME, Kind::Edit}}},
      {IDD_DELETE_PROFILE, {{IDC_PROFILE_NAME, Kind::Edit}}},
  };
  for (const DialogCase &dialogCase : cases) {
    SCOPED_TRACE(dialogCase.id);
    HWND dialog = Create(dialogCase.id);
    ASSERT_TRUE(dialog != NULL);
    EXPECT_FALSE(TextOf(dialog).empty()) << "caption";

    std::vector<int> expectedTabs;
    for (const Control &field : dialogCase.fields) {
      HWND control = GetDlgItem(dialog, field.id);
      ASSERT_TRUE(control != NULL) << field.id;
      LONG style = GetWindowLongA(control, GWL_STYLE);
      if (field.kind == Kind::Edit) {
        EXPECT_EQ("edit", ClassOf(control));
        // Without it a field stops taking characters at its visible width, short of 32.
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        // The key and the names are kept as typed.
        EXPECT_FALSE(style & (ES_UPPERCASE | ES_LOWERCASE | ES_NUMBER | ES_READONLY));
        // The field's label comes just before it, so its mnemonic reaches the field.
        HWND label = GetWindow(control, GW_HWNDPREV);
        ASSERT_TRUE(label != NULL);
        EXPECT_EQ("static", ClassOf(label));
        EXPECT_NE(std::string::npos, TextOf(label).find('&')) << TextOf(label);
      } else {
        EXPECT_EQ("button", ClassOf(control));
        // A plain check box would not tick when clicked.
        EXPECT_EQ(BS_AUTOCHECKBOX, style & BS_TYPEMASK);
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, field.id));
      }
      expectedTabs.push_back(field.id);
    }
    expectedTabs.push_back(IDOK);
    expectedTabs.push_back(IDCANCEL);
    EXPECT_EQ(BS_DEFPUSHBUTTON,
              GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(BS_PUSHBUTTON,
              GetWindowLongA(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK);

    std::vector<int> tabs;
    HWND first = GetNextDlgTabItem(dialog, NULL, FALSE);
    for (HWND item = first; item && tabs.size() < 10;) {
      tabs.push_back(GetDlgCtrlID(item));
      item = GetNextDlgTabItem(dialog, item, FALSE);
      if (item == first)
        break;
    }
    EXPECT_EQ(expectedTabs, tabs);

    // Nothing is cut off by the dialog's edge.
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT box;
      GetWindowRect(child, &box);
      MapWindowPoints(NULL, dialog, reinterpret_cast<POINT *>(&box), 2);
      EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= client.right &&
                  box.bottom <= client.bottom)
          << "control " << GetDlgCtrlID(child) << " \"" << TextOf(child) << "\"";
    }
    DestroyWindow(dialog);
  }
}

TEST_F(DialogTest, StatusWindowTemplateStaysHiddenUntilShown) {
  HWND dialog = Create(IDD_STATUS);
  ASSERT_TRUE(dialog != NULL);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(TextOf(dialog).empty());
  DestroyWindow(dialog);
}

// ---------------------------------------------------------------------------------------
// The tray menu.

void CollectCommands(HMENU menu, std::set<int> &commands) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i))
      CollectCommands(sub, commands);
    else if (GetMenuItemID(menu, i) != 0)
      commands.insert(static_cast<int>(GetMenuItemID(menu, i)));
  }
}

TEST(MenuTest, ThreeVariantsHoldTheAppletsCommands) {
  LoadedModule module("TARNURES.DLL");
  HMENU menu = LoadMenuA(module.Handle(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
  ASSERT_TRUE(menu != NULL);
  std::set<int> known(std::begin(kCommands), std::end(kCommands));
  const std::set<int> everyday = {ID_CONFIGURE, ID_STATUS,      ID_ABOUT,
                                  ID_RADIO_ON,  ID_RADIO_OFF,   ID_REMOVE_ICON, ID_EXIT};
  std::set<int> fullerTogether;
  for (int variant = 0; variant < 3; ++variant) {
    SCOPED_TRACE(variant);
    HMENU popup = GetSubMenu(menu, variant);
    ASSERT_TRUE(popup != NULL);
    std::set<int> commands;
    CollectCommands(popup, commands);
    // Every item does something: no command the applet does not handle.
    for (int command : commands)
      EXPECT_TRUE(known.count(command)) << std::hex << command;
    EXPECT_TRUE(std::includes(commands.begin(), commands.end(), everyday.begin(),
                              everyday.end()));
    if (variant > 0)
      fullerTogether.insert(commands.begin(), commands.end());

    // The applet checks the radio pair as one group, by command, and grays two items.
    ASSERT_TRUE(CheckMenuRadioItem(popup, ID_RADIO_ON, ID_RADIO_OFF, ID_RADIO_OFF, MF_BYCOMMAND));
    EXPECT_TRUE(GetMenuState(popup, ID_RADIO_OFF, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(popup, ID_RADIO_ON, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_NE(-1, (int)EnableMenuItem(popup, ID_CONFIGURE, MF_BYCOMMAND | MF_GRAYED));
  }
  EXPECT_EQ(known, fullerTogether);
  DestroyMenu(menu);
}

// ---------------------------------------------------------------------------------------
// Icons: sizes and colour depths, and every state told apart.

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colourCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
  GroupIconEntry entries[1];
};
#pragma pack(pop)

// The image data of icon <id> at <size> pixels and <bits> per pixel; empty if missing.
std::string IconImage(HMODULE module, int id, int size, int bits) {
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
  if (!group)
    return "";
  const GroupIconHeader *header =
      static_cast<const GroupIconHeader *>(LockResource(LoadResource(module, group)));
  for (WORD i = 0; i < header->count; ++i) {
    const GroupIconEntry &entry = header->entries[i];
    if (entry.width == size && entry.height == size && entry.bitCount == bits) {
      HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(entry.id), RT_ICON);
      if (!image)
        return "";
      const char *data = static_cast<const char *>(LockResource(LoadResource(module, image)));
      return std::string(data, SizeofResource(module, image));
    }
  }
  return "";
}

TEST(IconTest, EveryIconIn16And256ColoursAndEveryStateDistinct) {
  LoadedModule module("TARNURES.DLL");
  for (int bits : {4, 8}) {
    SCOPED_TRACE(bits);
    std::set<std::string> seen;
    for (int id : kStateIcons) {
      SCOPED_TRACE(id);
      std::string image = IconImage(module.Handle(), id, 16, bits);
      ASSERT_FALSE(image.empty());
      EXPECT_TRUE(seen.insert(image).second) << "looks like another state icon";
      HANDLE icon = LoadImageA(module.Handle(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
      EXPECT_TRUE(icon != NULL);
      if (icon)
        DestroyIcon(static_cast<HICON>(icon));
    }
    EXPECT_FALSE(IconImage(module.Handle(), IDR_MAINFRAME, 16, bits).empty());
    EXPECT_FALSE(IconImage(module.Handle(), IDR_MAINFRAME, 32, bits).empty());
  }
  EXPECT_TRUE(LoadIconA(module.Handle(), MAKEINTRESOURCEA(IDR_MAINFRAME)) != NULL);
}

// ---------------------------------------------------------------------------------------
// Strings: their conversions against the values the applet passes.

// The conversions of a printf format, one letter each ('*' for a width or precision taken
// from the arguments); "%%" is none.
std::string Conversions(const std::string &format) {
  std::string found;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%')
      continue;
    if (++i < format.size() && format[i] == '%')
      continue;
    while (i < format.size() && strchr("-+ #0123456789.*hlLjztI", format[i])) {
      if (format[i] == '*')
        found += '*';
      ++i;
    }
    found += i < format.size() ? format[i] : '?';
  }
  return found;
}

bool IsIntegerConversion(const std::string &conversions) {
  return conversions.size() == 1 && strchr("diuxXo", conversions[0]);
}

size_t LongestFormatted(const std::string &format, int from, int to) {
  size_t longest = 0;
  for (long long value = from; value <= to; ++value) {
    char text[512];
    int length = snprintf(text, sizeof text, format.c_str(), static_cast<int>(value));
    longest = std::max(longest, static_cast<size_t>(length));
  }
  return longest;
}

TEST(StringTest, FormatsFitWhatTheAppletPasses) {
  // The level shown in a tooltip is (signed byte) * 100 / 15: 0 to 846.
  const int kHighestPercent = 127 * 100 / 15;
  struct FormatCase {
    UINT id;
    int lowest, highest; // the integers the string is formatted with
    size_t longest;      // its longest formatted text
  } formatted[] = {
      {IDS_TIP_WEAK, 0, kHighestPercent, 63},
      {IDS_TIP_GOOD, 0, kHighestPercent, 63},
      {IDS_TIP_FAIR, 0, kHighestPercent, 63},
      {IDS_TIP_EXCELLENT, 0, kHighestPercent, 63},
      {IDS_KEY_LENGTH_IS, INT_MIN, INT_MIN, 255},
      {IDS_KEY_LENGTH_IS, INT_MAX, INT_MAX, 255},
      {IDS_KEY_LENGTH_NEEDED, INT_MIN, INT_MIN, 255},
      {IDS_KEY_LENGTH_NEEDED, INT_MAX, INT_MAX, 255},
  };
  LoadedModule module("TARNURES.DLL");
  for (const FormatCase &c : formatted) {
    SCOPED_TRACE(c.id);
    std::string text = LoadText(module.Handle(), c.id);
    ASSERT_TRUE(IsIntegerConversion(Conversions(text))) << text;
    EXPECT_LE(LongestFormatted(text, c.lowest, c.highest), c.longest) << text;
  }
}

TEST(StringTest, TextsShownAsTheyAreHoldNoConversion) {
  // These tooltips are also chosen while no level is known, and then shown unformatted;
  // the other messages are never formatted at all.
  struct PlainCase {
    UINT id;
    size_t longest;
  } plain[] = {
      {IDS_TIP_NO_CONNECTION, 63}, {IDS_TIP_RADIO_OFF, 63},  {IDS_TIP_WAITING, 63},
      {IDS_KEY_NOT_HEX, 255},      {IDS_KEY_NOT_HEX_HINT, 255},
      {IDS_TITLE_PORTRAIT, 127},   {IDS_TITLE_LANDSCAPE, 127},
  };
  LoadedModule module("TARNURES.DLL");
  for (const PlainCase &c : plain) {
    SCOPED_TRACE(c.id);
    std::string text = LoadText(module.Handle(), c.id);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(std::string::npos, text.find('%')) << text;
    EXPECT_LE(text.size(), c.longest) << text;
  }
  // A title that began with a blank would get "TARNU" put in front of it.
  EXPECT_NE(' ', LoadText(module.Handle(), IDS_TITLE_PORTRAIT)[0]);
  EXPECT_NE(' ', LoadText(module.Handle(), IDS_TITLE_LANDSCAPE)[0]);
}

TEST(StringTest, FrameworkPromptHasOnlyTheLimitPlaceholder) {
  LoadedModule module("TARNURES.DLL");
  std::string text = LoadText(module.Handle(), AFX_IDP_PARSE_STRING_SIZE);
  size_t at = text.find("%1");
  ASSERT_NE(std::string::npos, at) << text;
  EXPECT_EQ(std::string::npos, text.find('%', at + 1)) << text;
  EXPECT_EQ(at, text.find('%')) << text;
}

TEST(StringTest, ConversionCounterSeesWhatPrintfSees) {
  const struct {
    const char *format;
    const char *conversions;
  } cases[] = {
      {"plain", ""},        {"%d%%", "d"},      {"100%% %s", "s"}, {"%-3.2ld", "d"},
      {"%*d", "*d"},        {"%d %d", "dd"},    {"%I64u", "u"},    {"50%", "?"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.conversions, Conversions(c.format)) << c.format;
}

} // namespace

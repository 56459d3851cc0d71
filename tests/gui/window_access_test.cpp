// What a screen reader says for the controls of the window, read back as a
// screen reader asks for it: a button or a check box by its text, a directory
// field by the label before it, and a name of its own for what shows neither
// (the boxes, the container that holds the focus at open, the folder
// buttons' pictures).
#include <windows.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/utf8.h"
#include "window_fixture.h"

namespace {

using shell::Id;
using testing_support::WindowTest;

VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// What a screen reader has of a control's client area: its object (owned by
// the caller), as the accessibility interface hands it out.
IAccessible* ObjectOf(HWND control) {
  IAccessible* object = nullptr;
  AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                             reinterpret_cast<void**>(&object));
  return object;
}

std::u16string NameOf(IAccessible& object) {
  BSTR name = nullptr;
  const HRESULT got = object.get_accName(Self(), &name);
  std::u16string text =
      got == S_OK && name != nullptr
          ? std::u16string(reinterpret_cast<const char16_t*>(name), SysStringLen(name))
          : u"";
  SysFreeString(name);
  return text;
}

LONG RoleOf(IAccessible& object) {
  VARIANT role;
  VariantInit(&role);
  object.get_accRole(Self(), &role);
  return role.vt == VT_I4 ? role.lVal : -1;
}

LONG StateOf(IAccessible& object) {
  VARIANT state;
  VariantInit(&state);
  object.get_accState(Self(), &state);
  return state.vt == VT_I4 ? state.lVal : -1;
}

LONG ChildCountOf(IAccessible& object) {
  LONG count = -1;
  object.get_accChildCount(&count);
  return count;
}

// The folder button inside a directory field.
HWND FolderButton(HWND field) { return FindWindowExW(field, nullptr, L"Button", nullptr); }

class WindowAccessTest : public WindowTest {
 protected:
  void SetUp() override {
    Open();
    // The company lists are hidden until the paths are accepted; a screen
    // reader meets them shown.
    ShowWindow(Control(Id::mmo_1), SW_SHOW);
    ShowWindow(Control(Id::mmo_2), SW_SHOW);
  }

  struct Named {
    const char* what;
    HWND control;
    std::u16string name;
  };
  std::vector<Named> Cases() const {
    const HWND source = Control(Id::edt_ZETKA_source), dest = Control(Id::edt_ZETKA_dest);
    return {
        {"pg_1", Control(Id::pg_1), u"Ekrany programu"},
        {"edt_ZETKA_source", source, u"Lokalizacja ZETKA_WX (katalog źródłowy):"},
        {"its folder button", FolderButton(source), u"Wybierz katalog źródłowy"},
        {"edt_ZETKA_dest", dest, u"Lokalizacja ZETKA_WX (katalog docelowy):"},
        {"its folder button", FolderButton(dest), u"Wybierz katalog docelowy"},
        {"btn_1", Control(Id::btn_1), u"OK"},
        {"mmo_1", Control(Id::mmo_1), u"Nazwy firm"},
        {"mmo_2", Control(Id::mmo_2), u"Katalogi firm"},
        {"chk_Remanenty", Control(Id::chk_Remanenty),
         u"Skopiuj remanenty końcowe starego roku jako początkowe nowego roku"},
        {"chk_4", Control(Id::chk_4), u"Skopiuj pliki:"},
        {"mmo_3", Control(Id::mmo_3), u"Pliki do skopiowania"},
        {"mmo_Log", Control(Id::mmo_Log), u"Log"},
        {"btn_2", Control(Id::btn_2), u"SRU"},
        {"btn_3", Control(Id::btn_3), u"Powrót do wyboru ścieżek"},
        {"btn_4", Control(Id::btn_4), u"KOniec"},
        {"btn_Podglad", Control(Id::btn_Podglad), u"Podgląd"},
        {"btn_Cofnij", Control(Id::btn_Cofnij), u"Cofnij"},
    };
  }
};

TEST_F(WindowAccessTest, EveryControlReadsAsAPersonWouldCallIt) {
  for (const Named& c : Cases()) {
    SCOPED_TRACE(c.what);
    ASSERT_NE(c.control, nullptr);
    IAccessible* object = ObjectOf(c.control);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(platform::TextToUtf8(NameOf(*object)), platform::TextToUtf8(c.name));
    object->Release();
  }
}

// The name is all that changes: what the system knows of the control (its
// kind, its state, its children) is what it would say without the name.
TEST_F(WindowAccessTest, ANamedControlIsOtherwiseTheSystemsOwn) {
  for (const Named& c : Cases()) {
    SCOPED_TRACE(c.what);
    IAccessible* object = ObjectOf(c.control);
    IAccessible* system = nullptr;
    CreateStdAccessibleObject(c.control, OBJID_CLIENT, IID_IAccessible,
                              reinterpret_cast<void**>(&system));
    ASSERT_NE(object, nullptr);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(RoleOf(*object), RoleOf(*system));
    EXPECT_EQ(StateOf(*object), StateOf(*system));
    EXPECT_EQ(ChildCountOf(*object), ChildCountOf(*system));
    object->Release();
    system->Release();
  }
}

}  // namespace

// Every form and control where the layout file of the end-to-end tests expects it: the same
// file the Windows program is held to, read here against the window model, so that a wrong
// place or size fails without Windows.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "fake/fixture.h"
#include "win32_ui_driver/layout.h"

namespace {

// The window class the Windows views give each kind of control.
using Kind = ui::ControlKind;
const std::map<Kind, std::string> kWindowClass = {
    {Kind::Label, "Static"},       {Kind::TextBox, "Edit"}, {Kind::ListBox, "ListBox"},
    {Kind::Button, "Button"},      {Kind::Frame, "Button"}, {Kind::PictureBox, "BelvostaPicture"},
    {Kind::DriveList, "ComboBox"}, {Kind::Timer, ""}};

// "Picture2(3)" names element 3 of the array Picture2; "Label7" a single control.
ui::Control* Find(ui::Form& form, const std::string& name) {
  std::string base = name;
  int index = -1;
  if (const auto open = name.find('('); open != std::string::npos) {
    base = name.substr(0, open);
    index = std::stoi(name.substr(open + 1));
  }
  for (ui::Control* control : form.Controls()) {
    if (control->Name() == base && control->Index() == index) return control;
  }
  return nullptr;
}

class WindowLayout : public fake::ProgramTest {};

TEST_F(WindowLayout, EachControlOfTheLayoutFileHasItsKindPlaceAndSize) {
  std::map<std::string, ui::Form*> forms{
      {"sucher1", &program->sucher1}, {"FormS", &program->FormS}, {"Form3", &program->Form3}};
  std::ifstream file(BELVOSTA_LAYOUT_FILE);
  ASSERT_TRUE(file) << BELVOSTA_LAYOUT_FILE;
  const e2e::Layout layout =
      e2e::Layout::Parse(std::string(std::istreambuf_iterator<char>(file), {}));

  for (const e2e::FormEntry& entry : layout.Forms()) {
    ASSERT_TRUE(forms.count(entry.name)) << entry.name;
    ui::Form& form = *forms[entry.name];
    form.EnsureLoaded();
    EXPECT_EQ(form.DesignValues().clientWidth, entry.clientWidth) << entry.name;
    EXPECT_EQ(form.DesignValues().clientHeight, entry.clientHeight) << entry.name;
    // A caption with a placeholder is made at run time; the others are the design's.
    if (entry.caption.find("${") == std::string::npos) {
      EXPECT_EQ(form.Caption(), entry.caption) << entry.name;
    }
  }

  std::map<std::string, int> controlsPerForm;
  for (const e2e::ControlEntry& entry : layout.Controls()) {
    const std::string where = entry.form + " " + entry.name;
    ui::Control* control = Find(*forms.at(entry.form), entry.name);
    ASSERT_NE(control, nullptr) << where;
    ++controlsPerForm[entry.form];
    EXPECT_EQ(kWindowClass.at(control->Kind()), entry.className) << where;
    const ui::Control* inside = control->DesignValues().container;
    EXPECT_EQ(inside ? inside->Name() : "", entry.container) << where;
    EXPECT_EQ(control->Left(), entry.left) << where;
    EXPECT_EQ(control->Top(), entry.top) << where;
    // "-": a size that is not the window's (a drop-down list's height).
    if (entry.width) {
      EXPECT_EQ(control->Width(), *entry.width) << where;
    }
    if (entry.height) {
      EXPECT_EQ(control->Height(), *entry.height) << where;
    }
  }
  for (const auto& [name, form] : forms) EXPECT_GT(controlsPerForm[name], 5) << name;
}

}  // namespace

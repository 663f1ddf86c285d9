// Every form and control where the layout file of the end-to-end tests expects it: the same
// file the Windows program is held to, read here against the window model, so that a wrong
// place or size fails without Windows.
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>

#include "fake/fixture.h"

namespace {

// The window class the Windows views give each kind of control.
const char* WindowClass(platform::ControlKind kind) {
  using platform::ControlKind;
  switch (kind) {
    case ControlKind::Label:
      return "Static";
    case ControlKind::TextBox:
      return "Edit";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::Button:
    case ControlKind::Frame:
      return "Button";
    case ControlKind::PictureBox:
      return "BelvostaPicture";
    case ControlKind::DriveList:
      return "ComboBox";
    case ControlKind::Timer:
      return "";
  }
  return "";
}

// "Picture2(3)" names element 3 of the array Picture2; "Label7" a single control.
platform::Control* Find(platform::Form& form, const std::string& name) {
  std::string base = name;
  int index = -1;
  if (const auto open = name.find('('); open != std::string::npos) {
    base = name.substr(0, open);
    index = std::stoi(name.substr(open + 1));
  }
  for (platform::Control* control : form.Controls()) {
    if (control->Name() == base && control->Index() == index) return control;
  }
  return nullptr;
}

class WindowLayout : public fake::ProgramTest {};

TEST_F(WindowLayout, EachControlOfTheLayoutFileHasItsKindPlaceAndSize) {
  std::map<std::string, platform::Form*> forms{
      {"sucher1", &program->sucher1}, {"FormS", &program->FormS}, {"Form3", &program->Form3}};
  std::ifstream file(BELVOSTA_LAYOUT_FILE);
  ASSERT_TRUE(file) << BELVOSTA_LAYOUT_FILE;
  std::map<std::string, int> controlsPerForm;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string what;
    if (!(fields >> what) || what[0] == '#') continue;
    if (what == "form") {
      std::string name, caption;
      int width = 0, height = 0;
      fields >> name >> std::quoted(caption) >> width >> height;
      ASSERT_TRUE(forms.count(name)) << line;
      platform::Form& form = *forms[name];
      form.EnsureLoaded();
      EXPECT_EQ(form.DesignValues().clientWidth, width) << line;
      EXPECT_EQ(form.DesignValues().clientHeight, height) << line;
      // A caption with a placeholder is made at run time; the others are the design's.
      if (caption.find("${") == std::string::npos) {
        EXPECT_EQ(form.Caption(), caption) << line;
      }
      continue;
    }
    ASSERT_EQ(what, "control") << line;
    std::string formName, name, windowClass, container, left, top, width, height;
    fields >> formName >> name >> windowClass >> container >> left >> top >> width >> height;
    ASSERT_TRUE(forms.count(formName)) << line;
    platform::Control* control = Find(*forms[formName], name);
    ASSERT_NE(control, nullptr) << line;
    ++controlsPerForm[formName];
    EXPECT_STREQ(WindowClass(control->Kind()), windowClass.c_str()) << line;
    const platform::Control* inside = control->DesignValues().container;
    EXPECT_EQ(inside ? inside->Name() : "-", container) << line;
    EXPECT_EQ(control->Left(), std::stoi(left)) << line;
    EXPECT_EQ(control->Top(), std::stoi(top)) << line;
    EXPECT_EQ(control->Width(), std::stoi(width)) << line;
    if (height != "-") {
      EXPECT_EQ(control->Height(), std::stoi(height)) << line;
    }
  }
  for (const auto& [name, form] : forms) EXPECT_GT(controlsPerForm[name], 5) << name;
}

}  // namespace

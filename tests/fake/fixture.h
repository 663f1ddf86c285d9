// A whole program on the fake platform, fresh for every test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "fake/fake_system.h"
#include "fake/fake_ui.h"
#include "fake/virtual_clock.h"
#include "platform/backend.h"

namespace fake {

// Installs the fake window system and operating system for its lifetime.
struct FakePlatform {
  FakePlatform() {
    platform::SetBackend(&system);
    ui::SetUiBackend(&ui);
  }
  ~FakePlatform() {
    ui::SetUiBackend(nullptr);
    platform::SetBackend(nullptr);
    ui::CollectRetiredViews();
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  VirtualClock clock;
  FakeSystem system{clock};
  FakeUi ui{clock};
};

// The program with its main window shown, as at start. Public, for the tables of rows whose
// functions set up the machine.
class ProgramTest : public ::testing::Test {
 public:
  ProgramTest() : program(std::make_unique<belvosta::Program>()) { program->sucher1.Show(); }
  ~ProgramTest() override { program.reset(); }

  // What holds after every test, whatever it did: each page or folder is opened the one way
  // the program opens things, by a window; and every check that ran has unwound, leaving the
  // normal pointer behind.
  void TearDown() override {
    for (const FakeSystem::ShellOpenCall& call : fake.system.shellOpens) {
      SCOPED_TRACE(call.file);
      EXPECT_NE(call.owner, platform::WindowHandle{});
      EXPECT_EQ(call.operation, "Open");
      EXPECT_TRUE(call.parametersNull && call.directoryNull);
      EXPECT_EQ(call.showCmd, 1);  // shown normally
    }
    if (program && program->sucher1.IsLoaded()) {
      EXPECT_EQ(program->sucher1.MousePointer(), ui::MousePointer::Default);
    }
  }

  belvosta::sucher1& main() { return program->sucher1; }

  // Titles of the recorded boxes and the files shell-opened, in order, for whole-sequence
  // assertions.
  std::vector<std::string> BoxTitles() const {
    std::vector<std::string> titles;
    for (const RecordedBox& box : fake.ui.boxes) titles.push_back(box.title);
    return titles;
  }
  std::vector<std::string> OpenedFiles() const {
    std::vector<std::string> files;
    for (const FakeSystem::ShellOpenCall& call : fake.system.shellOpens) files.push_back(call.file);
    return files;
  }

  FakePlatform fake;
  std::unique_ptr<belvosta::Program> program;
};

}  // namespace fake

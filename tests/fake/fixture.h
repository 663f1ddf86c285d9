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

// The program with its main window shown, as at start.
class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() : program(std::make_unique<belvosta::Program>()) { program->sucher1.Show(); }
  ~ProgramTest() override { program.reset(); }

  belvosta::sucher1& main() { return program->sucher1; }

  // Titles and texts of the recorded boxes, in order, for whole-sequence assertions.
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& box : fake.ui.boxes) texts.push_back(box.text);
    return texts;
  }

  FakePlatform fake;
  std::unique_ptr<belvosta::Program> program;
};

}  // namespace fake

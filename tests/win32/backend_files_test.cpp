// The answers of the Win32 backend are the system's own (their form and buffer handling are
// in the contract suites, tests/contract/).
#include <gtest/gtest.h>

#include <string>

#include "platform/shell32.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

TEST(BackendFiles, TheTemporaryAndSystemFoldersAndDriveCAreTheSystemsOwn) {
  Win32Backend backend;
  std::string temp(512, ' ');
  const unsigned length = backend.TempPath(temp);
  wchar_t wide[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, wide);
  EXPECT_EQ(temp.substr(0, length), Narrow(wide));

  ItemIdList* list = nullptr;
  ASSERT_EQ(backend.SpecialFolderLocation(0, kCsidlSystem, &list), 0);
  std::string path(512, ' ');
  EXPECT_EQ(backend.PathFromIdList(list, path), 1);
  wchar_t system[MAX_PATH + 1] = {};
  GetSystemDirectoryW(system, MAX_PATH + 1);
  EXPECT_EQ(std::string(path.c_str()), Narrow(system));
  backend.FreeIdList(list);

  // The network neighbourhood is a virtual folder (Wine names it "::{GUID}").
  ItemIdList* network = nullptr;
  if (backend.SpecialFolderLocation(0, kCsidlNetwork, &network) == 0) {
    std::string none(512, ' ');
    EXPECT_EQ(backend.PathFromIdList(network, none), 0);
    EXPECT_EQ(none, std::string(512, ' '));
    backend.FreeIdList(network);
  } else {
    EXPECT_EQ(network, nullptr);
  }
  EXPECT_EQ(backend.DriveType("C:\\"), kDriveFixed);
}

}  // namespace
}  // namespace platform::win32

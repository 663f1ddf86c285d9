// Drives, folders and names: the results arrive in the caller's buffer whole, or not at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/shell32.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

std::string Filled(std::size_t size) {
  return std::string(size, ' ');
}

TEST(BackendFiles, DriveStringsArriveWholeOrNotAtAll) {
  Win32Backend backend;
  std::string buffer = Filled(256);
  const unsigned length = backend.LogicalDriveStrings(buffer);
  ASSERT_GE(length, 4u);
  ASSERT_EQ(length % 4, 0u);  // "X:\" and a NUL per drive
  EXPECT_EQ(buffer[length], '\0');
  for (unsigned i = 0; i < length; i += 4) {
    EXPECT_EQ(buffer.substr(i + 1, 3), std::string(":\\\0", 3));
  }
  EXPECT_EQ(backend.DriveType("C:\\"), kDriveFixed);

  // Without room for the final NUL: the size needed, and the buffer as it was.
  std::string tight = Filled(length);
  EXPECT_EQ(backend.LogicalDriveStrings(tight), length + 1);
  EXPECT_EQ(tight, Filled(length));
}

TEST(BackendFiles, TempPathEndsWithItsSeparatorAndFitsOrIsLeftAlone) {
  Win32Backend backend;
  std::string buffer = Filled(512);
  const unsigned length = backend.TempPath(buffer);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(buffer[length - 1], '\\');
  EXPECT_EQ(buffer[length], '\0');
  wchar_t wide[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, wide);
  EXPECT_EQ(buffer.substr(0, length), Narrow(wide));

  std::string small = Filled(length);
  EXPECT_EQ(backend.TempPath(small), length + 1);
  EXPECT_EQ(small, Filled(length));
}

TEST(BackendFiles, ComputerNameHonoursTheStatedSize) {
  Win32Backend backend;
  std::string buffer = Filled(16);
  unsigned long size = 16;
  ASSERT_EQ(backend.ComputerName(buffer, size), 1);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(buffer[size], '\0');
  const std::string name = buffer.substr(0, size);

  // A large buffer whose stated size is too small for the name: nothing written.
  std::string large = Filled(64);
  unsigned long stated = static_cast<unsigned long>(name.size());
  EXPECT_EQ(backend.ComputerName(large, stated), 0);
  EXPECT_EQ(stated, name.size() + 1);
  EXPECT_EQ(large, Filled(64));
}

TEST(BackendFiles, SpecialFoldersAreFileSystemPathsOrNothing) {
  Win32Backend backend;
  ItemIdList* list = nullptr;
  ASSERT_EQ(backend.SpecialFolderLocation(0, kCsidlSystem, &list), 0);
  ASSERT_NE(list, nullptr);
  std::string path = Filled(512);
  EXPECT_EQ(backend.PathFromIdList(list, path), 1);
  wchar_t system[MAX_PATH + 1] = {};
  GetSystemDirectoryW(system, MAX_PATH + 1);
  EXPECT_EQ(std::string(path.c_str()), Narrow(system));

  // Too small for the path and its NUL: no path, nothing written.
  std::string small = Filled(std::string(path.c_str()).size());
  EXPECT_EQ(backend.PathFromIdList(list, small), 0);
  EXPECT_EQ(small, Filled(small.size()));
  backend.FreeIdList(list);

  // The network neighbourhood is a virtual folder (Wine names it "::{GUID}").
  ItemIdList* network = nullptr;
  if (backend.SpecialFolderLocation(0, kCsidlNetwork, &network) == 0) {
    std::string none = Filled(512);
    EXPECT_EQ(backend.PathFromIdList(network, none), 0);
    EXPECT_EQ(none, Filled(512));
    backend.FreeIdList(network);
  } else {
    EXPECT_EQ(network, nullptr);
  }
  backend.FreeIdList(nullptr);
}

TEST(BackendFiles, UserNameCountsItsNulAndNeedsRoomForIt) {
  Win32Backend backend;
  std::string buffer = Filled(255);
  unsigned long size = 255;
  ASSERT_EQ(backend.UserName(buffer, size), 1);
  ASSERT_GE(size, 2u);  // the name and its NUL
  EXPECT_EQ(buffer[size - 1], '\0');

  std::string small = Filled(size - 1);
  unsigned long smallSize = size - 1;
  EXPECT_EQ(backend.UserName(small, smallSize), 0);
  EXPECT_EQ(small, Filled(size - 1));
}

}  // namespace
}  // namespace platform::win32

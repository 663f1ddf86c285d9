// The operating-system operations on Linux and other POSIX systems. Where Windows has
// something this system lacks, the answer comes from the mapping in windows_mapping.h.
// The screen operations answer as for a machine without a screen; the FLTK layer derives
// from this class to answer them from the real one.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/posix/windows_mapping.h"

namespace platform::posix {

class PosixBackend : public Backend {
 public:
  explicit PosixBackend(HostEnvironment host = HostEnvironment::FromProcess());
  ~PosixBackend() override;
  PosixBackend(const PosixBackend&) = delete;
  PosixBackend& operator=(const PosixBackend&) = delete;

  // Every operation of operations.h, one library a file, as on Windows:
  // tree_search_ops.cpp (imagehlp), shell_ops.cpp, kernel_ops.cpp, registry_ops.cpp
  // (advapi32), socket_ops.cpp, screen_ops.cpp (user32), processor_ops.cpp. The screen
  // ones answer as for a machine without a screen: no desktop window, no rectangle, a
  // screen of zero size.
  BELVOSTA_OVERRIDE_EVERY_OPERATION

 private:
  struct FolderItem {
    std::optional<std::string> path;
  };
  void ReapFinishedChildren();
  static std::int64_t MonotonicNanoseconds();

  HostEnvironment host_;
  std::vector<std::unique_ptr<FolderItem>> folderItems_;  // handed out, not yet freed
  std::map<HKEY, std::vector<RegistryValue>> openKeys_;   // a snapshot per open key
  HKEY nextKey_ = 0x1000;
  std::vector<pid_t> children_;                               // opened programs not yet reaped
  std::map<std::uint64_t, std::vector<unsigned char>> pins_;  // token -> saved processor set
  std::uint64_t nextPin_ = 1;
};

}  // namespace platform::posix

// The contract suites against the POSIX backend on real folders and against the fake
// platform, which answers with the real POSIX walk and with configured system data.
#include <unistd.h>

#include <cstdio>

#include <memory>
#include <string>

#include "contract/backend_under_contract.h"
#include "contract/posix_faults.h"
#include "fake/fake_system.h"
#include "fake/virtual_clock.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/windows_mapping.h"
#include "platform/shell32.h"
#include "support/temp_tree.h"

namespace contract {
namespace {

// The folders of both: real ones below the temporary folder. The system faults of both are
// the POSIX system call table's, as the fake's tree search is the POSIX one.
class PosixFolders : public BackendUnderContract {
 public:
  Properties Has() const override {
    return {.separator = '/', .lettersCaseSeparatesNames = true, .retriesAfterAShortage = true};
  }
  const std::string& Root() const override { return root_.Root(); }
  const std::string& Outside() const override { return outside_.Root(); }
  std::string AddFile(const std::string& base, std::string_view relative) override {
    return (base == outside_.Root() ? outside_ : root_).AddFile(relative);
  }
  std::string AddFolder(const std::string& base, std::string_view relative) override {
    return (base == outside_.Root() ? outside_ : root_).AddFolder(relative);
  }
  bool LinkToFolder(std::string_view relative, const std::string& target) override {
    return symlink(target.c_str(), (root_.Root() + "/" + std::string(relative)).c_str()) == 0;
  }
  bool SwapForLink(std::string_view relative, const std::string& target) override {
    const std::string folder = root_.Root() + "/" + std::string(relative);
    return rename(folder.c_str(), (folder + ".moved").c_str()) == 0 &&
           LinkToFolder(relative, target);
  }
  bool Inject(std::span<const Injection> injections) override {
    faults_ = std::make_unique<PosixFaults>();
    if (faults_->Inject(injections)) return true;
    faults_.reset();
    return false;
  }
  void EndFaults() override { faults_.reset(); }
  std::string Written() const override { return faults_ ? faults_->Written() : std::string(); }

 private:
  std::unique_ptr<PosixFaults> faults_;
  test_support::TempTree root_;
  test_support::TempTree outside_;
};

// The real machine's answers, in a Wine prefix of the test's own, so that the Windows
// folders exist whatever the machine has.
class RealPosix : public PosixFolders {
 public:
  platform::Backend& Backend() override { return backend_; }
  // The processor key, built from /proc/cpuinfo on x86 Linux.
  std::optional<std::string> KnownKey() override {
#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
    return "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
#else
    return std::nullopt;
#endif
  }

 private:
  static platform::posix::HostEnvironment WithPrefix(test_support::TempTree& prefix) {
    prefix.AddFolder("drive_c/windows/system32");
    symlink("../drive_c", prefix.AddFolder("dosdevices").append("/c:").c_str());
    platform::posix::HostEnvironment host = platform::posix::HostEnvironment::FromProcess();
    host.winePrefix = prefix.Root();
    return host;
  }
  test_support::TempTree prefix_;
  platform::posix::PosixBackend backend_{WithPrefix(prefix_)};
};

class Fake : public PosixFolders {
 public:
  Fake() {
    system_.drives = {{"C:\\", platform::kDriveFixed}, {"D:\\", platform::kDriveCdRom}};
    system_.specialFolders[platform::kCsidlSystem] = "C:\\WINDOWS\\system32";
    system_.hosts["localhost"] = platform::HOSTENT{.h_length = 4, .h_addr_list = {{127, 0, 0, 1}}};
    system_.registry[kKey].values = {{"Identifier", "x86 Family 6 Model 15"},
                                     {"ProcessorNameString", "Intel(R) Core(TM)2 CPU"}};
  }
  platform::Backend& Backend() override { return system_; }
  std::optional<std::string> KnownKey() override { return kKey; }

 private:
  static constexpr const char* kKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
  fake::VirtualClock clock_;
  fake::FakeSystem system_{clock_};
};

template <typename T>
std::unique_ptr<BackendUnderContract> Make() {
  return std::make_unique<T>();
}

}  // namespace

BELVOSTA_CONTRACT_BACKENDS(Posix, Named{"Posix", &Make<RealPosix>}, Named{"Fake", &Make<Fake>});

}  // namespace contract

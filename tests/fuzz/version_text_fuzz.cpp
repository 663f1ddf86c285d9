// os-release and the kernel's release as the version key's values. Whatever the texts:
// the product name is one line of the file, the version numbers are decimal and fit a
// DWORD, and releases written from numbers read back (os-release's quoting is read back
// in user_dirs_fuzz.cpp).
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz/fuzz_checks.h"
#include "platform/posix/windows_mapping.h"

using platform::posix::KernelVersion;
using platform::posix::ParseKernelRelease;
using platform::posix::RegistryValue;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string release = provider.ConsumeRandomLengthString(64);
  const std::string osRelease = provider.ConsumeRandomLengthString(4096);

  const KernelVersion kernel = ParseKernelRelease(release);
  fuzz::Require(
      kernel.major <= 0xFFFFFFFFul && kernel.minor <= 0xFFFFFFFFul && kernel.build <= 0xFFFFFFFFul,
      "each part of the version fits a DWORD");

  bool versionSeen = false, buildSeen = false;
  for (const RegistryValue& value : platform::posix::VersionValues(osRelease, release)) {
    if (value.name == "ProductName") {
      fuzz::Require(value.data.find('\n') == std::string::npos, "the product name is one line");
      fuzz::Require(value.data.size() <= osRelease.size(), "the product name is from the file");
    } else if (value.name == "CurrentVersion") {
      const std::size_t dot = value.data.find('.');
      fuzz::Require(dot != std::string::npos && fuzz::IsDword(value.data.substr(0, dot)) &&
                        fuzz::IsDword(value.data.substr(dot + 1)),
                    "the version is major.minor");
      versionSeen = true;
    } else {
      fuzz::Require(value.name == "CurrentBuildNumber" && fuzz::IsDword(value.data),
                    "the build is a number");
      buildSeen = true;
    }
  }
  fuzz::Require(versionSeen && buildSeen, "the version and the build are always there");

  // A release written from numbers in Debian's form (the numbers, then anything after a
  // character that is no digit or dot) reads back.
  const auto major = provider.ConsumeIntegral<std::uint32_t>();
  const auto minor = provider.ConsumeIntegral<std::uint32_t>();
  const auto build = provider.ConsumeIntegral<std::uint32_t>();
  const std::string written = std::to_string(major) + "." + std::to_string(minor) + "." +
                              std::to_string(build) + "-" + provider.ConsumeRandomLengthString(20);
  const KernelVersion read = ParseKernelRelease(written);
  fuzz::Require(read.major == major && read.minor == minor && read.build == build,
                "a release written from numbers reads back");
  return 0;
}

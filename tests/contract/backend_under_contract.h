// One backend as the contract suites see it: the backend itself, a fresh folder tree to
// search in its own path form, and the ways its platform differs from the others, named.
// Each test program instantiates the suites with the backends it can run
// (BELVOSTA_CONTRACT_BACKENDS in its own file).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "contract/system_faults.h"
#include "platform/backend.h"
#include "platform/imagehlp.h"

namespace contract {

// Where the platforms may differ. Everything else the suites hold every backend to.
struct Properties {
  // The separator of the backend's paths.
  char separator = '/';
  // Letters beyond ASCII (Ü, à) match in either case, as on Windows; else only A to Z fold.
  bool foldsLettersBeyondAscii = false;
  // A folder that cannot be opened for want of descriptors, handles or memory is tried once
  // more (after the walk closed the folders it kept open for speed); else the walk stops.
  bool retriesAfterAShortage = false;
};

class BackendUnderContract {
 public:
  virtual ~BackendUnderContract() = default;
  virtual platform::Backend& Backend() = 0;
  virtual Properties Has() const = 0;

  // A fresh empty folder for the test, without a trailing separator; its contents go with it.
  virtual const std::string& Root() const = 0;
  // A second one, outside Root(), for what links lead to.
  virtual const std::string& Outside() const = 0;
  // Creates a file (and the folders on the way) at a '/'-separated path below `base` (Root()
  // or Outside()) and returns its full path in the backend's form.
  virtual std::string AddFile(const std::string& base, std::string_view relative) = 0;
  virtual std::string AddFolder(const std::string& base, std::string_view relative) = 0;
  // Makes `relative` below Root() a link to the folder `target` (a full path); false when
  // this system cannot make one.
  virtual bool LinkToFolder(std::string_view relative, const std::string& target) = 0;
  // Moves the folder `relative` below Root() aside (to `relative` and ".moved") and puts a
  // link to the folder `target` in its place, as someone may while a walk runs; false when
  // this system cannot make the link.
  virtual bool SwapForLink(std::string_view relative, const std::string& target) = 0;

  // A registry key below HKEY_LOCAL_MACHINE that holds at least one text value, if this
  // system has one for sure.
  virtual std::optional<std::string> KnownKey() = 0;

  // Makes the backend's system calls fail as the injections say (system_faults.h), with the
  // calls counted from now, and keeps what the process's console writes instead of letting
  // it reach the standard streams. False, and nothing injected, when this system has no
  // such fault for such a call. The real calls come back with EndFaults or when the
  // object goes.
  virtual bool Inject(std::span<const Injection> injections) = 0;
  virtual void EndFaults() = 0;
  // What the console wrote since Inject.
  virtual std::string Written() const = 0;
};

using Factory = std::unique_ptr<BackendUnderContract> (*)();

// A named factory, so that a failure names the backend.
struct Named {
  const char* name;
  Factory make;
};

inline void PrintTo(const Named& backend, std::ostream* out) {
  *out << backend.name;
}

inline std::string NameOf(const ::testing::TestParamInfo<Named>& info) {
  return info.param.name;
}

// The fixture of every contract suite: the backend made fresh and installed for each test.
class Contract : public ::testing::TestWithParam<Named> {
 protected:
  void SetUp() override {
    backend_ = GetParam().make();
    platform::SetBackend(&backend_->Backend());
  }
  void TearDown() override {
    platform::SetBackend(nullptr);
    backend_.reset();
  }
  BackendUnderContract& under() { return *backend_; }
  Properties has() const { return backend_->Has(); }
  // A '/'-separated path below the root in the backend's form.
  std::string Below(std::string_view relative) const {
    std::string path = backend_->Root();
    path += backend_->Has().separator;
    for (char c : relative) path += c == '/' ? backend_->Has().separator : c;
    return path;
  }

 private:
  std::unique_ptr<BackendUnderContract> backend_;
};

// The suites, one per group of operations (tree_search_contract.cpp,
// system_data_contract.cpp and system_faults_contract.cpp hold their tests).
class TreeSearchContract : public Contract {
 protected:
  // The path found, or "" for none, with a buffer of `size`.
  std::string Find(const std::string& root, std::string_view name, std::size_t size = 160) {
    std::vector<char> buffer(size, '\0');
    if (!platform::SearchTreeForFile(root, name, buffer)) return "";
    return std::string(buffer.data());
  }
  std::string Find(std::string_view name, std::size_t size = 160) {
    return Find(under().Root(), name, size);
  }
  std::string Add(std::string_view relative) { return under().AddFile(under().Root(), relative); }
};

class SystemDataContract : public Contract {
 protected:
  static std::string Blank(std::size_t size) { return std::string(size, ' '); }
  platform::Backend& backend() { return under().Backend(); }
};

class SystemFaultsContract : public Contract {};

}  // namespace contract

// In a test program's backend file: the suites, run with the backends listed.
#define BELVOSTA_CONTRACT_BACKENDS(program, ...)                                          \
  INSTANTIATE_TEST_SUITE_P(program, TreeSearchContract, ::testing::Values(__VA_ARGS__),   \
                           ::contract::NameOf);                                           \
  INSTANTIATE_TEST_SUITE_P(program, SystemDataContract, ::testing::Values(__VA_ARGS__),   \
                           ::contract::NameOf);                                           \
  INSTANTIATE_TEST_SUITE_P(program, SystemFaultsContract, ::testing::Values(__VA_ARGS__), \
                           ::contract::NameOf)

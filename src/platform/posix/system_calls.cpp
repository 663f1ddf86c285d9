#include "platform/posix/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace platform::posix {

namespace {

// Constant, so that the table holds the real calls before any code runs.
// clang-format off
constexpr PosixSystemCalls kRealCalls{
    .open = [](const char* path, int flags) { return ::open(path, flags); },
    .openat = [](int folder, const char* path, int flags) { return ::openat(folder, path, flags); },
    .close = &::close,
    .read = &::read,
    .write = &::write,
    .poll = &::poll,
    .fcntl = [](int fd, int command) { return ::fcntl(fd, command); },
    .dup2 = &::dup2,
    .fstat = &::fstat,
    .fstatat = &::fstatat,
    .stat = &::stat,
#if defined(__linux__)
    .getdents64 = &::getdents64,
    .statx = &::statx,
#endif
    .uname = &::uname,
    .gethostname = &::gethostname,
    .getaddrinfo = &::getaddrinfo,
    .freeaddrinfo = &::freeaddrinfo,
    .getpwuid_r = &::getpwuid_r,
};
// clang-format on

}  // namespace

constinit PosixSystemCalls systemCalls = kRealCalls;

PosixSystemCalls RealSystemCalls() {
  return kRealCalls;
}

}  // namespace platform::posix

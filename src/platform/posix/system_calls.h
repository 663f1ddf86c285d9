// Every system call of the POSIX backend whose failure the backend answers, reached
// through one table of function pointers. The product uses the real calls; a test puts its
// own in a row (a fault at the Nth call, a short transfer) and restores the saved table
// afterwards. Each call site goes through the row, so what the test injects is exactly
// what the code would meet from the system.
#pragma once

#include <netdb.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/utsname.h>

#include <cerrno>
#include <cstddef>

namespace platform::posix {

struct PosixSystemCalls {
  // open and openat without a mode: the backend never creates a file.
  int (*open)(const char* path, int flags);
  int (*openat)(int folder, const char* path, int flags);
  int (*close)(int fd);
  ssize_t (*read)(int fd, void* buffer, std::size_t size);
  ssize_t (*write)(int fd, const void* bytes, std::size_t size);
  int (*poll)(pollfd* fds, nfds_t count, int timeoutMs);
  int (*fcntl)(int fd, int command);
  int (*dup2)(int from, int to);
  int (*fstat)(int fd, struct stat* info);
  int (*fstatat)(int folder, const char* path, struct stat* info, int flags);
  int (*stat)(const char* path, struct stat* info);
#if defined(__linux__)
  // A folder's entries (elsewhere the walk lists through readdir, which is not in the table).
  ssize_t (*getdents64)(int fd, void* buffer, std::size_t size);
  int (*statx)(int folder, const char* path, int flags, unsigned mask, struct statx* info);
#endif
  int (*uname)(utsname* names);
  int (*gethostname)(char* name, std::size_t size);
  int (*getaddrinfo)(const char* host, const char* service, const addrinfo* hints,
                     addrinfo** results);
  void (*freeaddrinfo)(addrinfo* results);
  int (*getpwuid_r)(uid_t user, passwd* entry, char* scratch, std::size_t size, passwd** result);
};

// The table the backend calls through; the real calls unless a test has put others in.
extern PosixSystemCalls systemCalls;

// The real calls, to restore or to forward to.
PosixSystemCalls RealSystemCalls();

// Calls `call` again while it fails with EINTR: a signal that arrived during the call
// says nothing about the file or folder.
template <typename Call>
auto RetryInterrupted(Call&& call) {
  for (;;) {
    const auto result = call();
    if (!(result < 0 && errno == EINTR)) return result;
  }
}

}  // namespace platform::posix

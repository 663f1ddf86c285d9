// The command line on Windows. The program is a window program, so Windows gives it no
// console: what is redirected (a pipe, a file) is written there; the rest goes to the
// console of the program that started it (cmd.exe, PowerShell), when there is one. The
// command line's start-up, the operations without windows, is here too.
#include "platform/console.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "platform/native.h"
#include "platform/output_stall.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/system_calls.h"
#include "platform/win32/utf8.h"

namespace platform {
namespace {

using win32::systemCalls;

// Larger writes go out in pieces of this size (the calls take 32-bit lengths).
constexpr std::size_t kPiece = 1 << 16;

bool Redirected(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         systemCalls.GetConsoleMode(handle, &mode);
}

// False when a write fails or takes nothing: the rest would be lost.
bool WriteBytes(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto piece = static_cast<DWORD>(std::min(bytes.size(), kPiece));
    DWORD written = 0;
    if (!systemCalls.WriteFile(handle, bytes.data(), piece, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(std::min<std::size_t>(written, bytes.size()));
  }
  return true;
}

// Even when the run's bound is used up, a write to a stream that has not stalled is given
// this long: on POSIX systems a write that needs no wait goes through then too.
constexpr std::uint64_t kLastChanceMs = 50;

// A write to a pipe, done by a thread of its own. A pipe nobody reads blocks WriteFile for
// ever, and so does, under Wine, a full non-blocking Linux pipe; the thread is then left to
// its write, and the job is freed by whichever side lets go of it last.
struct WriteJob {
  HANDLE handle;
  std::string bytes;
  bool written = false;
  LONG holders = 2;

  void Release() {
    if (InterlockedDecrement(&holders) == 0) delete this;
  }
};

DWORD WINAPI RunWriteJob(void* parameter) {
  auto* job = static_cast<WriteJob*>(parameter);
  job->written = WriteBytes(job->handle, job->bytes);
  job->Release();
  return 0;
}

// WriteBytes within what is left of the run's bound: false, and the stream given up, when
// a write to a pipe has not ended by then. Files and devices do not stall; they are written
// here.
bool WriteBytesWithin(HANDLE handle, std::string_view bytes, OutputStream stream, StallBound& bound,
                      DWORD startTicks) {
  if (bound.GivenUp(stream)) return false;
  if (GetFileType(handle) != FILE_TYPE_PIPE) return WriteBytes(handle, bytes);
  auto* job = new WriteJob{handle, std::string(bytes)};
  const HANDLE thread = CreateThread(nullptr, 0, RunWriteJob, job, 0, nullptr);
  if (thread == nullptr) {  // no thread to spare: write here, without a bound
    delete job;
    return WriteBytes(handle, bytes);
  }
  // GetTickCount wraps after 49 days; the difference from the start stays right.
  const std::uint64_t wait =
      std::max(bound.WaitLeft(stream, GetTickCount() - startTicks), kLastChanceMs);
  const bool ended = WaitForSingleObject(thread, static_cast<DWORD>(wait)) == WAIT_OBJECT_0;
  CloseHandle(thread);
  const bool written = ended && job->written;
  if (!ended) bound.GiveUp(stream);
  job->Release();
  return written;
}

bool WriteWide(HANDLE handle, std::wstring_view text) {
  while (!text.empty()) {
    const auto piece = static_cast<DWORD>(std::min(text.size(), kPiece));
    DWORD written = 0;
    if (!systemCalls.WriteConsoleW(handle, text.data(), piece, &written, nullptr) || written == 0) {
      return false;
    }
    text.remove_prefix(std::min<std::size_t>(written, text.size()));
  }
  return true;
}

class Win32Console final : public Console {
 public:
  explicit Win32Console(std::uint64_t stallBoundMs)
      : out_(GetStdHandle(STD_OUTPUT_HANDLE)),
        error_(GetStdHandle(STD_ERROR_HANDLE)),
        bound_(stallBoundMs) {
    const bool outRedirected = Redirected(out_);
    const bool errorRedirected = Redirected(error_);
    // The starter's console, also when everything is redirected: its code page is the one
    // the starter reads our bytes in.
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    if (attached && (!outRedirected || !errorRedirected)) {
      console_ =
          CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    }
    if (!outRedirected) out_ = console_;
    if (!errorRedirected) error_ = console_;
    codePage_ = GetConsoleOutputCP();
    // Without a console (a remote session), readers decode in the OEM code page.
    if (codePage_ == 0) codePage_ = GetOEMCP();
  }

  ~Win32Console() override {
    if (console_ != INVALID_HANDLE_VALUE) systemCalls.CloseHandle(console_);
  }

  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  bool WriteText(std::string_view utf8) override {
    return Write(OutputStream::Out, utf8, codePage_);
  }
  bool WriteUtf8(std::string_view utf8) override { return Write(OutputStream::Out, utf8, CP_UTF8); }
  bool WriteError(std::string_view utf8) override {
    return Write(OutputStream::Error, utf8, codePage_);
  }
  std::string_view LineEnd() const override { return "\r\n"; }
  bool WindowsOptions() const override { return true; }

 private:
  // A real console takes UTF-16, whatever its code page; a pipe or a file takes bytes,
  // within the run's bound. Without a stream at all (no console, nothing redirected) the
  // text is lost too.
  bool Write(OutputStream stream, std::string_view utf8, unsigned codePage) {
    const HANDLE handle = stream == OutputStream::Out ? out_ : error_;
    if (utf8.empty()) return true;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
    if (IsConsole(handle)) return WriteWide(handle, win32::Widen(utf8));
    if (codePage == CP_UTF8) return WriteBytesWithin(handle, utf8, stream, bound_, startTicks_);
    return WriteBytesWithin(handle, win32::Narrow(win32::Widen(utf8), codePage), stream, bound_,
                            startTicks_);
  }

  HANDLE out_;
  HANDLE error_;
  StallBound bound_;
  const DWORD startTicks_ = GetTickCount();
  HANDLE console_ = INVALID_HANDLE_VALUE;
  unsigned codePage_ = 0;
};

}  // namespace

std::unique_ptr<Console> OpenConsole(std::uint64_t stallBoundMs) {
  return std::make_unique<Win32Console>(stallBoundMs);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments.push_back(win32::Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
  }
  // The narrow arguments are already in the ANSI code page; better them than nothing.
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

namespace {

// The operations alone, for the command line: no windows, no COM.
class Win32System final : public NativePlatform {
 public:
  Win32System() {
    win32::ProtectProcess();
    SetBackend(&backend_);
  }
  ~Win32System() override { SetBackend(nullptr); }
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

 private:
  win32::Win32Backend backend_;
};

}  // namespace

void win32::ProtectProcess() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDllDirectoryW(L"");
}

std::unique_ptr<NativePlatform> InstallSystemOnly() {
  return std::make_unique<Win32System>();
}

}  // namespace platform

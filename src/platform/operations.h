// Every operating-system operation the program calls, in one table. From it come the
// Windows-named functions of the library headers (kernel32.h ...), the Backend interface
// (backend.h), the declarations of the real backends and the answers of FailingBackend.
// Adding an operation: its row here, and its implementation in each real backend.
//
// A row: OP(result, WindowsName, BackendMethod, (parameters), (arguments), failure)
//   WindowsName    the free function the program calls, forwarding to the installed
//                  backend; backend methods are named differently, so that <windows.h>
//                  macros never rename them inside the Win32 backend;
//   failure        the answer when no backend is installed, and FailingBackend's answer.
// Rows marked WRAPPED get no generated free function: platform_calls.cpp writes theirs by
// hand, because it checks the arguments first or combines operations.
//
// The macros expand only where the types of the parameters are declared: each library
// header expands its own section, backend.h the whole table.
#pragma once

// imagehlp
#define BELVOSTA_IMAGEHLP_OPERATIONS(OP, WRAPPED)                                 \
  /* Every name of the search in one walk of its tree: see SearchTreeForFiles. */ \
  WRAPPED(std::size_t, SearchTreeForFiles, SearchTree,                            \
          (const TreeSearch& search, std::span<std::string> found), (search, found), 0)

// shell32
#define BELVOSTA_SHELL32_OPERATIONS(OP, WRAPPED)                                                   \
  /* Returns 0 and an item list for a folder the system knows, nonzero otherwise (list             \
     null). */                                                                                     \
  WRAPPED(long, SHGetSpecialFolderLocation, SpecialFolderLocation,                                 \
          (WindowHandle owner, int csidl, ItemIdList** list), (owner, csidl, list), kShellFailure) \
  /* Nonzero when the list names a file-system folder: the buffer then holds its path and          \
     a NUL. Virtual folders (the network neighbourhood) give 0. A path that does not fit           \
     the buffer with its NUL gives 0 and writes nothing. */                                        \
  WRAPPED(int, SHGetPathFromIDListA, PathFromIdList,                                               \
          (const ItemIdList* list, std::span<char> path), (list, path), 0)                         \
  /* Where a special folder comes from when a setting of this system decides it, and what is       \
     wrong with that setting, as a German phrase for a message when the folder cannot be           \
     searched: on POSIX systems the Wine prefix (the path) and its variable. Empty on Windows. */  \
  OP(PathPhrase, SpecialFolderOrigin, FolderOrigin, (int csidl), (csidl), PathPhrase())            \
  /* Releases an item list through the shell's allocator; null is allowed. */                      \
  WRAPPED(void, ILFree, FreeIdList, (ItemIdList * list), (list), void())                           \
  /* Hands a document, folder or web address to the shell, which opens it with its                 \
     program. parameters and directory may be null. The result (above 32 on success) is            \
     informational; 0 means out of resources. */                                                   \
  OP(std::intptr_t, ShellExecuteA, ShellOpen,                                                      \
     (WindowHandle owner, std::string_view operation, std::string_view file,                       \
      const char* parameters, const char* directory, int showCmd),                                 \
     (owner, operation, file, parameters, directory, showCmd), 0)

// kernel32
#define BELVOSTA_KERNEL32_OPERATIONS(OP, WRAPPED)                                                \
  /* Writes the drive roots ("C:\") each followed by a NUL, and one more NUL after the           \
     last. Returns the length written without the final NUL; when the buffer is too small        \
     it writes nothing and returns the size it needs, final NUL included. 0 on failure. */       \
  OP(unsigned, GetLogicalDriveStringsA, LogicalDriveStrings, (std::span<char> buffer), (buffer), \
     0)                                                                                          \
  OP(unsigned, GetDriveTypeA, DriveType, (std::string_view rootPathName), (rootPathName),        \
     kDriveUnknown)                                                                              \
  /* Writes the temporary folder with a trailing separator and a NUL; returns its length,        \
     or the size needed when the buffer is too small (nothing written), or 0 on failure. */      \
  OP(unsigned, GetTempPathA, TempPath, (std::span<char> buffer), (buffer), 0)                    \
  /* size: in, the buffer's size; out, the name's length without NUL on success, the size        \
     needed on failure. Returns 1 when the buffer holds the name and a NUL, 0 otherwise. */      \
  OP(int, GetComputerNameA, ComputerName, (std::span<char> buffer, unsigned long& size),         \
     (buffer, size), 0)                                                                          \
  /* Fills the record; dwOSVersionInfoSize says which of the two records it is (its              \
     sizeof). Returns nonzero on success, 0 on failure. */                                       \
  WRAPPED(int, GetVersionExA, VersionEx, (OSVERSIONINFOA & info), (info), 0)                     \
  /* Nonzero on success. */                                                                      \
  OP(int, GlobalMemoryStatusEx, MemoryStatusEx, (MEMORYSTATUSEX & status), (status), 0)          \
  /* The high-resolution performance counter; nonzero on success. */                             \
  OP(int, QueryPerformanceFrequency, PerformanceFrequency, (std::int64_t & frequency),           \
     (frequency), 0)                                                                             \
  OP(int, QueryPerformanceCounter, PerformanceCounter, (std::int64_t & count), (count), 0)       \
  /* Milliseconds since the system started; never restarts at midnight. */                       \
  OP(std::uint64_t, GetTickCount64, TickCount64, (), (), 0)                                      \
  /* The time of day in seconds since midnight, with fractions. */                               \
  OP(double, SecondsSinceMidnight, SecondsSinceMidnight, (), (), 0.0)                            \
  /* A short name for a system error code of the tree search ("EMFILE"; on Windows the code). */ \
  OP(std::string, SystemErrorName, ErrorName, (int error), (error), std::string())               \
  /* The decimal separator of the user's regional settings for numbers ("," or "." ...). */      \
  OP(std::string, UserDecimalSeparator, DecimalSeparator, (), (), std::string("."))

// advapi32
#define BELVOSTA_ADVAPI32_OPERATIONS(OP, WRAPPED)                                                \
  /* size: in, the buffer's size; out, the name's length including its NUL on success.           \
     Nonzero on success. */                                                                      \
  OP(int, GetUserNameA, UserName, (std::span<char> buffer, unsigned long& size), (buffer, size), \
     0)                                                                                          \
  OP(long, RegOpenKeyA, OpenKey, (HKEY key, std::string_view subKey, HKEY & result),             \
     (key, subKey, result), kErrorFileNotFound)                                                  \
  /* Enumerates the values of an open key. On kErrorSuccess the name buffer holds the            \
     value's name and a NUL (nameLength: its length without NUL) and the data buffer its         \
     data (dataLength: bytes, a text's NUL included). kErrorMoreData: a buffer was too           \
     small and holds nothing to rely on. kErrorNoMoreItems: index is past the last value.        \
   */                                                                                            \
  OP(long, RegEnumValueA, EnumValue,                                                             \
     (HKEY key, unsigned long index, std::span<char> valueName, unsigned long& valueNameLength,  \
      std::span<char> data, unsigned long& dataLength),                                          \
     (key, index, valueName, valueNameLength, data, dataLength), kErrorNoMoreItems)              \
  OP(long, RegCloseKey, CloseKey, (HKEY key), (key), kErrorInvalidHandle)

// wsock32
#define BELVOSTA_WSOCK32_OPERATIONS(OP, WRAPPED)                                         \
  /* 0 on success. */                                                                    \
  OP(int, WSAStartup, SocketsStartup, (std::uint16_t versionRequested, WSADATA & data),  \
     (versionRequested, data), kWsaSysNotReady)                                          \
  OP(int, WSACleanup, SocketsCleanup, (), (), kSocketError)                              \
  /* The IPv4 host entry of a name, or nothing when the name does not resolve. */        \
  OP(std::optional<HOSTENT>, gethostbyname, HostByName, (std::string_view name), (name), \
     std::nullopt)

// user32
#define BELVOSTA_USER32_OPERATIONS(OP, WRAPPED)                                             \
  OP(WindowHandle, GetDesktopWindow, DesktopWindow, (), (), 0)                              \
  /* Nonzero on success. */                                                                 \
  OP(int, GetWindowRect, WindowRect, (WindowHandle window, RECT & rect), (window, rect), 0) \
  /* The screen as the window system measures it in twips. */                               \
  OP(ScreenTwips, GetScreenTwips, Screen, (), (), ScreenTwips{})

// processor
#define BELVOSTA_CPU_OPERATIONS(OP, WRAPPED)                                                  \
  /* The 64-bit time-stamp counter (RDTSC). */                                                \
  OP(std::uint64_t, ReadTimeStampCounter, TimeStampCounter, (), (), 0)                        \
  /* Pins the thread to its current processor; returns an opaque token for Unpin, or          \
     nothing when pinning is not possible. Used through SingleProcessorScope. */              \
  WRAPPED(std::optional<std::uint64_t>, PinToCurrentProcessor, PinToCurrentProcessor, (), (), \
          std::nullopt)                                                                       \
  WRAPPED(void, UnpinProcessor, Unpin, (std::uint64_t token), (token), void())

#define BELVOSTA_PLATFORM_OPERATIONS(OP, WRAPPED) \
  BELVOSTA_IMAGEHLP_OPERATIONS(OP, WRAPPED)       \
  BELVOSTA_SHELL32_OPERATIONS(OP, WRAPPED)        \
  BELVOSTA_KERNEL32_OPERATIONS(OP, WRAPPED)       \
  BELVOSTA_ADVAPI32_OPERATIONS(OP, WRAPPED)       \
  BELVOSTA_WSOCK32_OPERATIONS(OP, WRAPPED)        \
  BELVOSTA_USER32_OPERATIONS(OP, WRAPPED)         \
  BELVOSTA_CPU_OPERATIONS(OP, WRAPPED)

// Expansions for the rows: the free function's declaration, nothing, and a backend's
// declaration of its implementation.
#define BELVOSTA_DECLARE_FUNCTION(result, windowsName, method, parameters, arguments, failure) \
  result windowsName parameters;
#define BELVOSTA_NO_FUNCTION(result, windowsName, method, parameters, arguments, failure)
#define BELVOSTA_DECLARE_OVERRIDE(result, windowsName, method, parameters, arguments, failure) \
  result method parameters override;

// Inside a backend's class: the declaration of every operation it implements.
#define BELVOSTA_OVERRIDE_EVERY_OPERATION \
  BELVOSTA_PLATFORM_OPERATIONS(BELVOSTA_DECLARE_OVERRIDE, BELVOSTA_DECLARE_OVERRIDE)

// An object in pages of its own that become unreadable when it is destroyed: any later
// read of it, or of anything that lives inside it (a form's controls), faults at once,
// in every build and on both systems, where a read of freed heap memory may go unseen.
// The pages are never given back; a test makes only a few of these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <sys/mman.h>
#endif

namespace support {

#ifdef _WIN32
// The pages of every fenced object, and how many reads faulted in them. Windows (and Wine)
// may swallow a fault inside a window procedure called by the system; a vectored handler
// sees every fault first and counts those in fenced pages, for the tests to assert on.
inline std::vector<std::pair<std::uintptr_t, std::uintptr_t>> fencedRanges;
inline int fencedFaults = 0;

inline LONG CALLBACK CountFencedFault(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& record = *info->ExceptionRecord;
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    const auto address = static_cast<std::uintptr_t>(record.ExceptionInformation[1]);
    for (const auto& [begin, end] : fencedRanges) {
      if (address >= begin && address < end) ++fencedFaults;
    }
  }
  return EXCEPTION_CONTINUE_SEARCH;
}
#endif

// How many reads of destroyed fenced objects faulted so far where the fault did not end
// the program (Windows only; elsewhere every such fault ends it).
inline int FencedFaults() {
#ifdef _WIN32
  return fencedFaults;
#else
  return 0;
#endif
}

template <class T>
class Fenced {
 public:
  template <class... Args>
  explicit Fenced(Args&&... args) : memory_(Allocate()) {
    object_ = new (memory_) T(std::forward<Args>(args)...);
  }
  ~Fenced() { Destroy(); }
  Fenced(const Fenced&) = delete;
  Fenced& operator=(const Fenced&) = delete;

  T* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  // Runs the destructor and fences the pages off.
  void Destroy() {
    if (!object_) return;
    object_->~T();
    object_ = nullptr;
#ifdef _WIN32
    DWORD previous = 0;
    VirtualProtect(memory_, Size(), PAGE_NOACCESS, &previous);
#else
    mprotect(memory_, Size(), PROT_NONE);
#endif
  }

 private:
  // Whole pages: 64 KiB holds a whole number of 4, 16 or 64 KiB pages, and is the granularity
  // of Windows' allocations.
  static std::size_t Size() {
    constexpr std::size_t kGranule = std::size_t{1} << 16;
    return (sizeof(T) + kGranule - 1) / kGranule * kGranule;
  }

  static void* Allocate() {
#ifdef _WIN32
    static const PVOID handler = AddVectoredExceptionHandler(1, &CountFencedFault);
    (void)handler;
    void* memory = VirtualAlloc(nullptr, Size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) throw std::bad_alloc();
    const auto begin = reinterpret_cast<std::uintptr_t>(memory);
    fencedRanges.emplace_back(begin, begin + Size());
#else
    void* memory =
        mmap(nullptr, Size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
#endif
    return memory;
  }

  void* memory_;
  T* object_ = nullptr;
};

}  // namespace support

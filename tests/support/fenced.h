// An object in pages of its own that become unreadable when it is destroyed: any later
// read of it, or of anything that lives inside it (a form's controls), faults at once,
// in every build and on both systems, where a read of freed heap memory may go unseen.
// The pages are never given back; a test makes only a few of these.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace support {

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

  T& operator*() const { return *object_; }
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
  static std::size_t Size() {
#ifdef _WIN32
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
#else
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
    return (sizeof(T) + page - 1) / page * page;
  }

  static void* Allocate() {
#ifdef _WIN32
    void* memory = VirtualAlloc(nullptr, Size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!memory) throw std::bad_alloc();
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

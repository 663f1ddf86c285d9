/* Preloaded into every 32-bit Linux program that qemu-i386 runs (scripts/wine32-setup.sh),
 * so that Debian's 32-bit Wine finds the two kernel behaviours it relies on and that the
 * user-mode emulator (qemu 7.2) lacks:
 *
 * - mmap with MAP_FIXED_NOREPLACE: the emulator takes the address as a mere hint and maps
 *   elsewhere when it is taken. Wine reserves the 32-bit address space in halves down to
 *   64 KiB pieces and keeps every misplaced piece above 2 GiB, so its start-up walks tens
 *   of thousands of pieces and seems to hang. Here a misplaced mapping is undone and
 *   fails with EEXIST, as the kernel does.
 * - the trap number of a fault (sigcontext trapno): the emulator reports -1, so Wine took
 *   every page fault (a thread's stack growing into its guard page) for an illegal
 *   instruction. Here it is set from the signal and its code, as the kernel sets it.
 *
 * Built without the C library's headers (gcc -m32 -nostdlib), as Debian's 32-bit
 * development files are not needed for anything else; the C library's functions it calls
 * are found at run time. */

#define MAP_FIXED_NOREPLACE 0x100000
#define EEXIST 17
#define SA_SIGINFO 4
#define SIGTRAP 5
#define SIGFPE 8
#define SIGSEGV 11
#define NSIG 65
#define RTLD_NEXT ((void*)-1l)

#define SYS_old_mmap 90 /* takes its six arguments in memory, offset in bytes */
#define SYS_munmap 91

/* What the i386 kernel stores as trapno, by the processor's exception. */
#define TRAP_DIVIDE 0
#define TRAP_DEBUG 1
#define TRAP_BREAKPOINT 3
#define TRAP_OVERFLOW 4
#define TRAP_PROTECTION 13
#define TRAP_PAGE_FAULT 14
#define TRAP_FPU 16

extern int* __errno_location(void);
extern void* dlsym(void* handle, const char* name);

static long syscall2(long number, long first, long second) {
  long result;
  __asm__ volatile("int $0x80" : "=a"(result) : "0"(number), "b"(first), "c"(second) : "memory");
  return result;
}

static void* map(void* address, unsigned long length, int protection, int flags, int fd,
                 unsigned long long offset) {
  unsigned long arguments[6] = {(unsigned long)address,    length,
                                (unsigned long)protection, (unsigned long)flags,
                                (unsigned long)fd,         (unsigned long)offset};
  if (offset >> 32) {
    *__errno_location() = 75; /* EOVERFLOW: old_mmap takes a 32-bit offset */
    return (void*)-1;
  }
  long result = syscall2(SYS_old_mmap, (long)arguments, 0);
  if ((unsigned long)result > -4096ul) {
    *__errno_location() = (int)-result;
    return (void*)-1;
  }
  if ((flags & MAP_FIXED_NOREPLACE) && (void*)result != address) {
    syscall2(SYS_munmap, result, (long)length);
    *__errno_location() = EEXIST;
    return (void*)-1;
  }
  return (void*)result;
}

void* mmap(void* address, unsigned long length, int protection, int flags, int fd, long offset) {
  return map(address, length, protection, flags, fd, (unsigned long)offset);
}

void* mmap64(void* address, unsigned long length, int protection, int flags, int fd,
             long long offset) {
  return map(address, length, protection, flags, fd, (unsigned long long)offset);
}

/* The C library's struct sigaction on i386. */
typedef void (*Handler)(int, void*, void*);
struct Action {
  Handler handler;
  unsigned long mask[32];
  int flags;
  void (*restorer)(void);
};
typedef int (*SigactionFunction)(int, const struct Action*, struct Action*);

struct SignalInfo {
  int number, error, code;
};

/* Where trapno lies in the ucontext: after uc_flags, uc_link and uc_stack (20 bytes), the
 * 13th of the general registers. */
#define TRAPNO_OFFSET (20 + 12 * 4)

static Handler program_handler[NSIG];

static int trap_of(int signal, int code) {
  switch (signal) {
    case SIGSEGV: /* SEGV_MAPERR and SEGV_ACCERR come from page faults */
      return code == 1 || code == 2 ? TRAP_PAGE_FAULT : TRAP_PROTECTION;
    case SIGTRAP: /* int3 arrives as SI_KERNEL */
      return code == 0x80 ? TRAP_BREAKPOINT : TRAP_DEBUG;
    default: /* SIGFPE */
      return code == 1 ? TRAP_DIVIDE : code == 2 ? TRAP_OVERFLOW : TRAP_FPU;
  }
}

static void set_trapno_then_handle(int signal, void* info, void* context) {
  int* trapno = (int*)((char*)context + TRAPNO_OFFSET);
  if (*trapno == -1) *trapno = trap_of(signal, ((struct SignalInfo*)info)->code);
  program_handler[signal](signal, info, context);
}

static int is_fault_signal(int signal) {
  return signal == SIGSEGV || signal == SIGTRAP || signal == SIGFPE;
}

int sigaction(int signal, const struct Action* action, struct Action* old) {
  static SigactionFunction real;
  if (!real) real = (SigactionFunction)dlsym(RTLD_NEXT, "sigaction");
  if (!is_fault_signal(signal)) return real(signal, action, old);

  Handler previous = program_handler[signal];
  int result;
  /* SIG_DFL (0) and SIG_IGN (1) are no functions to call. */
  if (action && (action->flags & SA_SIGINFO) && (unsigned long)action->handler > 1) {
    struct Action wrapped = *action;
    wrapped.handler = set_trapno_then_handle;
    program_handler[signal] = action->handler;
    result = real(signal, &wrapped, old);
  } else {
    result = real(signal, action, old);
  }
  /* The program sees its own handler, never the wrapper. */
  if (result == 0 && old && old->handler == set_trapno_then_handle) old->handler = previous;
  return result;
}

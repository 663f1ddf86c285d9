// One object per platform implements every operation of the table in operations.h; the
// Windows-named functions of the library headers forward to the installed one. (cpu.h is
// left out: <windows.h> defines ReadTimeStampCounter as a macro, and the Win32 backend
// includes this header.)
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/advapi32.h"
#include "platform/imagehlp.h"
#include "platform/kernel32.h"
#include "platform/operations.h"
#include "platform/shell32.h"
#include "platform/user32.h"
#include "platform/wsock32.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;

#define BELVOSTA_DECLARE_METHOD(result, windowsName, method, parameters, arguments, failure) \
  virtual result method parameters = 0;
  BELVOSTA_PLATFORM_OPERATIONS(BELVOSTA_DECLARE_METHOD, BELVOSTA_DECLARE_METHOD)
#undef BELVOSTA_DECLARE_METHOD
};

// Answers every operation with its failure result, as a system that has none of them
// would. Stands in when no backend is installed; a test's fake derives from it and answers
// only what the test scripts.
class FailingBackend : public Backend {
 public:
#define BELVOSTA_FAIL(result, windowsName, method, parameters, arguments, failure) \
  result method parameters override {                                              \
    static_cast<void>(std::tie arguments);                                         \
    return failure;                                                                \
  }
  BELVOSTA_PLATFORM_OPERATIONS(BELVOSTA_FAIL, BELVOSTA_FAIL)
#undef BELVOSTA_FAIL
};

// Installs the backend; the caller keeps ownership.
void SetBackend(Backend* backend);
Backend* GetBackend();

}  // namespace platform

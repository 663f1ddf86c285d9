// The backend object: the host it maps onto and what it hands out.
#include "platform/posix/system_backend.h"

namespace platform::posix {

PosixBackend::PosixBackend(HostEnvironment host) : host_(std::move(host)) {}

PosixBackend::~PosixBackend() {
  ReapFinishedChildren();
}

}  // namespace platform::posix

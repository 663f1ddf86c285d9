// Sets or removes an environment variable for one test and gives it back its value, or
// its absence, when the test ends (POSIX tests only).
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace test_support {

class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(std::string name) : name_(std::move(name)) {
    if (const char* value = std::getenv(name_.c_str())) saved_ = value;
  }
  ~ScopedEnvironment() { Set(saved_ ? saved_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  // Sets the variable, or removes it for nullptr.
  void Set(const char* value) {
    if (value != nullptr) {
      setenv(name_.c_str(), value, 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  // The value it had when the guard was made, if it had one.
  const std::optional<std::string>& Saved() const { return saved_; }

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace test_support

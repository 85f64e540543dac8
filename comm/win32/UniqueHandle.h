// UniqueHandle: sole owner of one Win32 kernel handle (a device or an event); closes it when
// destroyed or reset. Both failure values of the API, null and INVALID_HANDLE_VALUE, are held
// as "no handle".
#pragma once

#include <windows.h>

#include <utility>

namespace vortana {

class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset() {
        if (handle_ != nullptr)
            ::CloseHandle(std::exchange(handle_, nullptr));  // nothing to do if it fails
    }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace vortana

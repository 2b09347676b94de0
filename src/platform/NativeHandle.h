// An owned handle of the operating system: a file descriptor on POSIX systems, a HANDLE on
// Windows. Kept as an integer so that no system header reaches the layers above this one.
#pragma once

#include <cstdint>
#include <utility>

namespace quorvix {

class NativeHandle {
public:
    using Value = std::intptr_t;
    static constexpr Value Invalid = -1;

    NativeHandle() = default;
    explicit NativeHandle(Value value) : value_(value) {}
    NativeHandle(NativeHandle&& other) noexcept : value_(std::exchange(other.value_, Invalid)) {}
    NativeHandle& operator=(NativeHandle&& other) noexcept {
        if (this != &other) {
            Close();
            value_ = std::exchange(other.value_, Invalid);
        }
        return *this;
    }
    NativeHandle(const NativeHandle&) = delete;
    NativeHandle& operator=(const NativeHandle&) = delete;
    ~NativeHandle() { Close(); }

    Value Get() const { return value_; }
    bool IsOpen() const { return value_ != Invalid; }

    // Closes the handle. Returns 0, or the system's error number when closing failed (what was
    // still buffered may then be lost). Closing a handle that is not open gives 0.
    int Close();

private:
    Value value_ = Invalid;
};

} // namespace quorvix

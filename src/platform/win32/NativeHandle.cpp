#include "platform/NativeHandle.h"

#include <windows.h>

namespace quorvix {

// On Windows the value is a HANDLE; INVALID_HANDLE_VALUE is -1, the same as Invalid. The number
// returned on failure is a Win32 error code, which the Windows layer's messages expect.
int NativeHandle::Close() {
    if (value_ == Invalid) {
        return 0;
    }
    const auto handle = reinterpret_cast<HANDLE>(std::exchange(value_, Invalid));
    if (::CloseHandle(handle)) {
        return 0;
    }
    const DWORD error = ::GetLastError();
    return error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE;
}

} // namespace quorvix

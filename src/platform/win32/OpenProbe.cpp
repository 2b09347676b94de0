#include "platform/OpenProbe.h"

#include "platform/NativeHandle.h"
#include "platform/win32/SystemText.h"

#include <windows.h>

namespace quorvix {

// The probe shares reading and writing, so a file that another program holds open, even for
// writing, passes it; whether it can then be digested is the digest's own open to decide.
bool OpenProbe(const std::string& path) {
    const std::wstring systemPath = win32::SystemPath(path);
    // Looking first keeps the probe from opening folders and devices at all.
    const DWORD attributes = ::GetFileAttributesW(systemPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    const NativeHandle handle(reinterpret_cast<NativeHandle::Value>(
        ::CreateFileW(systemPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr)));
    return handle.IsOpen() &&
           ::GetFileType(reinterpret_cast<HANDLE>(handle.Get())) == FILE_TYPE_DISK;
}

} // namespace quorvix

#include "TestSupport.h"

#include "md5/Md5.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quorvix::test {

std::string DigestTextOf(const std::string& bytes) {
    return DigestToHex(DigestOfBuffer(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
}

CurrentFolderChange::CurrentFolderChange(const std::string& folder)
    : previous_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(folder);
}

CurrentFolderChange::~CurrentFolderChange() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

} // namespace quorvix::test

#include "checksum/FileDigest.h"

#include <algorithm>

namespace quorvix {

Md5Digest DigestOfFile(const std::string& path, const FileReadProgress& progress) {
    FileStream stream(path, progress);
    const Md5Digest digest = DigestOfStream(stream);
    stream.CheckSizeUnchanged();
    return digest;
}

std::string FileDigestText(const std::string& path, const FileReadProgress& progress) {
    return DigestToHex(DigestOfFile(path, progress));
}

std::string LowerCaseAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

} // namespace quorvix

#include "md5/Md5.h"

#include "Md5TestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace quorvix {
namespace {

Md5Digest DigestOfText(const std::string& text) {
    return DigestOfBuffer(text.data(), static_cast<std::uint32_t>(text.size()));
}

TEST(Md5Engine, Rfc1321TestSuite) {
    const auto& cases = test::Rfc1321Suite;
    for (const auto& c : cases) {
        EXPECT_EQ(DigestToHex(DigestOfText(c.message)), c.digest) << '"' << c.message << '"';
    }
}

} // namespace
} // namespace quorvix

#include "platform/TemporaryFileName.h"

#include "platform/TextFileWriter.h"

#include <random>

namespace quorvix {
namespace {

constexpr std::string_view TemporaryMark = ".tmp-";
constexpr std::size_t SuffixLength = 8;
constexpr std::string_view SuffixLetters = "abcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

std::string TemporaryFileName(std::string_view targetName) {
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, SuffixLetters.size() - 1);
    std::string name = ".";
    name.append(targetName);
    name.append(TemporaryMark);
    for (std::size_t i = 0; i < SuffixLength; ++i) {
        name.push_back(SuffixLetters[pick(source)]);
    }
    return name;
}

bool IsTemporaryFileName(std::string_view name, std::string_view targetName) {
    const std::size_t stem = 1 + targetName.size() + TemporaryMark.size();
    if (name.size() != stem + SuffixLength || name.front() != '.' ||
        name.substr(1, targetName.size()) != targetName ||
        name.substr(1 + targetName.size(), TemporaryMark.size()) != TemporaryMark) {
        return false;
    }
    return name.substr(stem).find_first_not_of(SuffixLetters) == std::string_view::npos;
}

} // namespace quorvix

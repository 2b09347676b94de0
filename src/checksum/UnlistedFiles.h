// Finding the files beside a check file that it does not name.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace quorvix {

// The full paths a check file names, compared once "." steps, ".." steps and doubled separators
// are taken out, so that "./a" and "sub//b" name the files "a" and "sub/b".
class ListedFiles {
public:
    // Remembers fullPath as named by the check file. Cannot fail (but for memory).
    void Add(const std::string& fullPath);

    // True when fullPath, compared as Add says, has been added. Cannot fail.
    bool Contains(const std::string& fullPath) const;

private:
    std::unordered_set<std::string> paths_;
};

// Walks the check file's folder as the maker walks it, in the same order: names in byte order,
// subfolders depth first at the place where they are met (only when includeSubfolders is set),
// folders whose names begin with "." never entered, files named exactly "CheckSum.md5" and the
// maker's temporary files ".CheckSum.md5.tmp-*" passed over, and so is the check file itself.
// Gives the full paths (the check file's folder prefix followed by the relative path) of the
// files that listed does not contain. A folder that cannot be listed contributes nothing.
// Cannot fail (but for memory).
std::vector<std::string> FindUnlistedFiles(const std::string& checkFilePath, bool includeSubfolders,
                                           const ListedFiles& listed);

} // namespace quorvix

#include "checksum/CheckFileMaker.h"

#include "checksum/CheckFileFormat.h"
#include "checksum/FileCheck.h"
#include "checksum/ScanFolder.h"
#include "platform/FileSystem.h"
#include "platform/TextFileWriter.h"

namespace quorvix {

CheckFileLocation CheckFileLocationOf(const std::string& folderText) {
    CheckFileLocation location{folderText, 0, {}};
    if (folderText.empty() || folderText.back() != PathSeparator) {
        location.folderPrefix.push_back(PathSeparator);
    }
    location.BasePrefixLength = location.folderPrefix.size();
    location.checkFilePath = location.folderPrefix + CheckFileName;
    return location;
}

void CheckFileMaker(const std::string& folderText, bool includeSubfolders, LogSink& log,
                    const JobHooks& hooks) {
    log.Clear();

    const CheckFileLocation location = CheckFileLocationOf(folderText);
    const std::string& checkFilePath = location.checkFilePath;

    // The new check file grows under a temporary name and replaces the old one only when it is
    // complete, so a failed run leaves the previous check file as it was.
    TextFileWriter checkFile(checkFilePath);
    for (const std::string& line : CheckFileHeader(hooks.Now(), hooks.TimeSeparator())) {
        checkFile.WriteLine(line);
    }
    FileChecker files(hooks);
    const MakerRun run{includeSubfolders, location.BasePrefixLength, checkFile, log, hooks, files};
    ScanFolder(location.folderPrefix, run);
    checkFile.Commit();

    log.Append("");
    log.Append("操作完成。");
    log.Append("MD5 校验文件保存在 \"" + checkFilePath + "\"");
}

} // namespace quorvix

// File dialog filters as the window writes them: "description|patterns|description|patterns".
#pragma once

#include <QList>
#include <QString>

namespace quorvix {

struct FileFilterPair {
    QString description;
    QString patterns; // separated by ";", e.g. "*.txt;*.log"
};

// The pairs of a filter in order. A trailing description without patterns is dropped.
QList<FileFilterPair> SplitFileFilter(const QString& filter);

// The pair as a Qt name filter, "description (patterns)". The pattern "*.*" means every file, as
// on Windows, so it becomes "*": on Linux "*.*" would hide names without a dot.
QString QtNameFilter(const FileFilterPair& pair);

// The name with "." and the extension appended when its file name part has no "." at all; the
// name unchanged when it has one or when extension is empty. The extension is given without dot.
QString WithDefaultExtension(const QString& fileName, const QString& extension);

} // namespace quorvix

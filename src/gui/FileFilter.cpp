#include "gui/FileFilter.h"

#include <QStringList>

namespace quorvix {

QList<FileFilterPair> SplitFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FileFilterPair> pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        pairs.append({parts[i], parts[i + 1]});
    }
    return pairs;
}

QString QtNameFilter(const FileFilterPair& pair) {
    QStringList patterns = pair.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*")) {
            pattern = QStringLiteral("*");
        }
    }
    return pair.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

QString WithDefaultExtension(const QString& fileName, const QString& extension) {
    if (extension.isEmpty() || fileName.isEmpty()) {
        return fileName;
    }
    const qsizetype nameStart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    if (fileName.indexOf(QLatin1Char('.'), nameStart) >= 0 || nameStart == fileName.size()) {
        return fileName;
    }
    return fileName + QLatin1Char('.') + extension;
}

} // namespace quorvix

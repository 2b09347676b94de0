#include "gui/HelpAndLinks.h"

#include "checksum/ProductInfo.h"

namespace quorvix {

QString HelpFilePath(const QString& executablePath) {
    QString folder = executablePath.left(executablePath.lastIndexOf(QLatin1Char('/')) + 1);
    if (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder + QStringLiteral("/help.html");
}

QUrl ProductWebPageUrl() {
    // The address is kept without a scheme; the browser gets it as a web address.
    return QUrl::fromUserInput(QString::fromLatin1(ProductWebPage));
}

QUrl SupportMailUrl() {
    return QUrl(QStringLiteral("mailto:") + QString::fromLatin1(SupportEmail));
}

} // namespace quorvix

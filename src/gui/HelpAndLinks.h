// Where Help and the About page's links lead.
#pragma once

#include <QString>
#include <QUrl>

namespace quorvix {

// The help page of an executable: its folder (everything up to the last "/", without that "/"),
// one "/", then "help.html". "/opt/quorvix/bin/quorvix" gives "/opt/quorvix/bin/help.html" and
// "/quorvix" gives "/help.html".
QString HelpFilePath(const QString& executablePath);

// The product's web page as a browser address.
QUrl ProductWebPageUrl();

// A new mail to support: "mailto:" followed by the support address.
QUrl SupportMailUrl();

} // namespace quorvix

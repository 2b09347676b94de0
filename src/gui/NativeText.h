// Conversions between Qt's text and the byte strings that the core works with.
#pragma once

#include <QString>

#include <string>

namespace quorvix {

// The text as bytes in the system's narrow encoding (UTF-8 on Linux), the form in which the core
// takes paths and messages. Never fails; characters the encoding cannot hold are replaced.
inline std::string ToNative(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Bytes from the core (a path, a log line, a failure's message) as Qt text. Never fails.
inline QString FromNative(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quorvix

// A job's log shown in a read-only memo.
#pragma once

#include "checksum/LogSink.h"

class QPlainTextEdit;

namespace quorvix {

// Each appended line becomes a line of the memo, an empty one a blank line; the memo follows the
// end of the log while its scroll bar is at the bottom. The memo must outlive the sink.
class MemoLogSink final : public LogSink {
public:
    explicit MemoLogSink(QPlainTextEdit* memo) : memo_(memo) {}

    void Clear() override;
    void Append(const std::string& line) override;

private:
    QPlainTextEdit* memo_;
    // Whether the sink has put a line into the memo since it was last cleared: the document of
    // a memo holding one empty line looks the same as that of an empty memo.
    bool hasLine_ = false;
};

} // namespace quorvix

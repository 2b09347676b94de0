// A job's log shown in a read-only memo.
#pragma once

#include "checksum/LogSink.h"

#include <QStringList>
#include <QTimer>

class QPlainTextEdit;

namespace quorvix {

// Each appended line becomes a line of the memo, an empty one a blank line; the memo follows the
// end of the log while its scroll bar is at the bottom. Lines reach the memo in batches, a few
// hundredths of a second after they were appended once events run, or at Flush(): laying out a
// memo line by line would cost more than the digests of a folder of small files. The memo must
// outlive the sink.
class MemoLogSink final : public LogSink {
public:
    explicit MemoLogSink(QPlainTextEdit* memo);
    MemoLogSink(const MemoLogSink&) = delete;
    MemoLogSink& operator=(const MemoLogSink&) = delete;

    void Clear() override;
    void Append(const std::string& line) override;

    // Puts the lines appended so far into the memo at once.
    void Flush();

    // How long appended lines may wait for the next batch.
    static constexpr int FlushDelayMs = 40;

private:
    QPlainTextEdit* memo_;
    QStringList pending_;
    QTimer flushTimer_;
    // Whether a line has gone into the memo since it was last cleared: the document of a memo
    // holding one empty line looks the same as that of an empty memo.
    bool hasLine_ = false;
};

} // namespace quorvix

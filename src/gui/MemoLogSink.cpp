#include "gui/MemoLogSink.h"

#include "gui/NativeText.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace quorvix {

MemoLogSink::MemoLogSink(QPlainTextEdit* memo) : memo_(memo) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(FlushDelayMs);
    QObject::connect(&flushTimer_, &QTimer::timeout, [this] { Flush(); });
}

void MemoLogSink::Clear() {
    flushTimer_.stop();
    pending_.clear();
    memo_->clear();
    hasLine_ = false;
}

void MemoLogSink::Append(const std::string& line) {
    pending_.append(FromNative(line));
    if (!flushTimer_.isActive()) {
        flushTimer_.start();
    }
}

void MemoLogSink::Flush() {
    flushTimer_.stop();
    if (pending_.isEmpty()) {
        return;
    }
    QScrollBar* scrollBar = memo_->verticalScrollBar();
    const bool followEnd = scrollBar->value() == scrollBar->maximum();

    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    // Text that was there before the sink wrote (a prompt) also needs the new line below it.
    if (hasLine_ || !memo_->document()->isEmpty()) {
        cursor.insertBlock();
    }
    // One insertion for the whole batch: each paragraph separator starts a line.
    cursor.insertText(pending_.join(QChar::ParagraphSeparator));
    pending_.clear();
    hasLine_ = true;

    if (followEnd) {
        scrollBar->setValue(scrollBar->maximum());
    }
}

} // namespace quorvix

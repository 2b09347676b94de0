#include "gui/MemoLogSink.h"

#include "gui/NativeText.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace quorvix {

void MemoLogSink::Clear() {
    memo_->clear();
    hasLine_ = false;
}

void MemoLogSink::Append(const std::string& line) {
    QScrollBar* scrollBar = memo_->verticalScrollBar();
    const bool followEnd = scrollBar->value() == scrollBar->maximum();

    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    // Text that was there before the sink wrote (a prompt) also needs the new line below it.
    if (hasLine_ || !memo_->document()->isEmpty()) {
        cursor.insertBlock();
    }
    cursor.insertText(FromNative(line));
    hasLine_ = true;

    if (followEnd) {
        scrollBar->setValue(scrollBar->maximum());
    }
}

} // namespace quorvix

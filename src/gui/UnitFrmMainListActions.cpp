// What the list of page 0 offers besides its rows: copying digests and lines, and comparing the
// digests with one on the clipboard. Also the memos' "保存日志...".
#include "UnitFrmMain.h"

#include "gui/FileDigestListModel.h"
#include "gui/NativeText.h"

#include <QAction>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableView>

#include <algorithm>

namespace quorvix {
namespace {

QAction* NewAction(QWidget* owner, const QString& text, const QKeySequence& shortcut) {
    auto* action = new QAction(text, owner);
    action->setShortcut(shortcut);
    // Only where the action belongs: Ctrl+C in a memo or an edit still copies its text.
    action->setShortcutContext(Qt::WidgetShortcut);
    owner->addAction(action);
    return action;
}

// The memo's own menu (copy, select all) with "保存日志..." below it.
void GiveMemoLogMenu(QPlainTextEdit* memo, QAction* saveLog) {
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(memo, &QWidget::customContextMenuRequested, memo,
                     [memo, saveLog](const QPoint& position) {
                         QMenu* menu = memo->createStandardContextMenu(position);
                         menu->addSeparator();
                         menu->addAction(saveLog);
                         menu->exec(memo->viewport()->mapToGlobal(position));
                         delete menu;
                     });
}

const QString CompareCaption = QStringLiteral("与剪贴板比较");

} // namespace

void TForm1::CreateActions() {
    ActCopyDigest = NewAction(LvwFile, QStringLiteral("复制 MD5 校验值"), QKeySequence::Copy);
    ActCopyLine = NewAction(LvwFile, QStringLiteral("复制行"),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    ActCopyAllLines = NewAction(LvwFile, QStringLiteral("复制所有行"),
                                QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    ActCompareClipboard = NewAction(LvwFile, CompareCaption, QKeySequence(Qt::CTRL | Qt::Key_V));
    LvwFile->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ActCopyDigest, &QAction::triggered, this, [this] { LvwFileCopyDigest(); });
    connect(ActCopyLine, &QAction::triggered, this, [this] { LvwFileCopyLine(); });
    connect(ActCopyAllLines, &QAction::triggered, this, [this] { LvwFileCopyAllLines(); });
    connect(ActCompareClipboard, &QAction::triggered, this,
            [this] { LvwFileCompareWithClipboard(); });
    connect(LvwFile->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateListActions(); });
    connect(model_, &FileDigestListModel::RowResultSet, this, [this] { UpdateListActions(); });
    UpdateListActions();

    ActSaveMakeLog = NewAction(MemoMakeResult, QStringLiteral("保存日志..."), QKeySequence::Save);
    ActSaveVerifyLog =
        NewAction(MemoVerifyResult, QStringLiteral("保存日志..."), QKeySequence::Save);
    GiveMemoLogMenu(MemoMakeResult, ActSaveMakeLog);
    GiveMemoLogMenu(MemoVerifyResult, ActSaveVerifyLog);
    connect(ActSaveMakeLog, &QAction::triggered, this, [this] { MemoSaveLog(MemoMakeResult); });
    connect(ActSaveVerifyLog, &QAction::triggered, this, [this] { MemoSaveLog(MemoVerifyResult); });
}

void TForm1::UpdateListActions() {
    const std::vector<std::size_t> selected = SelectedRows();
    const auto has = [&](bool (*test)(const FileDigestRow&)) {
        return std::any_of(selected.begin(), selected.end(),
                           [&](std::size_t row) { return test(list_->Row(row)); });
    };
    ActCopyDigest->setEnabled(has([](const FileDigestRow& row) { return row.Readable(); }));
    ActCopyLine->setEnabled(has([](const FileDigestRow& row) { return row.Result.has_value(); }));
    ActCopyAllLines->setEnabled(list_->RowCount() > 0);
}

std::vector<std::size_t> TForm1::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : LvwFile->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TForm1::LvwFileCopyDigest() {
    RunHandler([this] {
        QStringList digests;
        for (const std::size_t row : SelectedRows()) {
            if (list_->Row(row).Readable()) {
                digests.append(FromNative(*list_->Row(row).ResultText()));
            }
        }
        if (!digests.isEmpty()) {
            desktop_->SetClipboardText(digests.join(QLatin1Char('\n')));
        }
    });
}

void TForm1::LvwFileCopyLine() {
    RunHandler([this] {
        QStringList lines;
        for (const std::size_t row : SelectedRows()) {
            if (list_->Row(row).Result) {
                lines.append(FromNative(SavedListLine(list_->Row(row))));
            }
        }
        if (!lines.isEmpty()) {
            desktop_->SetClipboardText(lines.join(QLatin1Char('\n')));
        }
    });
}

void TForm1::LvwFileCopyAllLines() {
    RunHandler([this] {
        QStringList lines;
        for (std::size_t row = 0; row < list_->RowCount(); ++row) {
            if (list_->Row(row).Result) {
                lines.append(FromNative(SavedListLine(list_->Row(row))));
            }
        }
        if (!lines.isEmpty()) {
            desktop_->SetClipboardText(lines.join(QLatin1Char('\n')));
        }
    });
}

void TForm1::LvwFileCompareWithClipboard() {
    RunHandler([this] {
        static const QRegularExpression digestPattern(QStringLiteral("^[0-9A-Fa-f]{32}$"));
        const QString text = desktop_->ClipboardText().trimmed();
        if (!digestPattern.match(text).hasMatch()) {
            ShowMessage(QStringLiteral("剪贴板中没有 MD5 校验值（32 位十六进制数字）。"),
                        CompareCaption, MessageIcon::Information, MessageButtons::Ok);
            return;
        }
        const std::string wanted = ToNative(text.toLower());
        QItemSelection matches;
        for (std::size_t row = 0; row < list_->RowCount(); ++row) {
            const FileDigestRow& entry = list_->Row(row);
            if (entry.Readable() && entry.ResultText() == wanted) {
                const QModelIndex index = model_->index(static_cast<int>(row), 0);
                matches.select(index, index);
            }
        }
        if (matches.isEmpty()) {
            LvwFile->clearSelection();
            ShowMessage(QStringLiteral("列表中没有文件的 MD5 校验值与剪贴板中的相同。"),
                        CompareCaption, MessageIcon::Information, MessageButtons::Ok);
            return;
        }
        const QModelIndex first = matches.first().topLeft();
        LvwFile->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        LvwFile->selectionModel()->select(matches, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
        LvwFile->scrollTo(first);
    });
}

} // namespace quorvix

// "保存日志..." of the maker's and the verifier's memo.
#include "UnitFrmMain.h"

#include "gui/MemoLogSink.h"
#include "gui/NativeText.h"
#include "platform/FileSystem.h"
#include "platform/TextFileWriter.h"

#include <QPlainTextEdit>

namespace quorvix {

void TForm1::MemoSaveLog(QPlainTextEdit* memo) {
    RunHandler([this, memo] {
        // Lines a running job has appended and the memo does not show yet belong in the file.
        (memo == MemoMakeResult ? makeLog_ : verifyLog_)->Flush();
        const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
        dlgSaveLog.Title = QStringLiteral("保存日志");
        dlgSaveLog.Filter = QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
        dlgSaveLog.DefaultExt = QStringLiteral("txt");
        if (!dlgSaveLog.Execute(*dialogs_, this)) {
            return;
        }
        const std::string target = ToNative(dlgSaveLog.FileName());
        if (FileExists(target) && ShowMessage(QStringLiteral("该文件已经存在，你要覆盖它吗?"),
                                              QStringLiteral("Overwrite"), MessageIcon::Question,
                                              MessageButtons::YesNo) != MessageAnswer::Yes) {
            return;
        }
        // Through a temporary file, like every file the program writes: a failure leaves the
        // old file as it was.
        TextFileWriter writer(target);
        for (const QString& line : lines) {
            writer.WriteLine(ToNative(line));
        }
        writer.Commit();
    });
}

} // namespace quorvix

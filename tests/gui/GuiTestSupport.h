// Fakes for the window's questions and desktop, and small helpers for the window's tests.
#pragma once

#include "UnitFrmMain.h"
#include "gui/DesktopServices.h"
#include "gui/SkinnedPageControl.h"
#include "gui/UserDialogs.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDialog>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvix::test {

// Answers the window's questions from queues filled by the test and records every question.
// An empty queue answers as a user who cancels (or presses OK, or No).
class FakeUserDialogs final : public UserDialogs {
public:
    MessageAnswer ShowMessage(QWidget*, const MessageRequest& request) override {
        messages.push_back(request);
        if (!messageAnswers.empty()) {
            const MessageAnswer answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        }
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }

    std::optional<FileDialogAnswer> ShowFileDialog(QWidget*,
                                                   const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) {
            return std::nullopt;
        }
        const FileDialogAnswer answer = fileAnswers.front();
        fileAnswers.pop_front();
        if (answer.fileNames.isEmpty()) {
            return std::nullopt;
        }
        return answer;
    }

    std::optional<QString> BrowseForFolder(QWidget*, const QString& title) override {
        folderTitles.push_back(title);
        if (folderAnswers.empty()) {
            return std::nullopt;
        }
        const QString answer = folderAnswers.front();
        folderAnswers.pop_front();
        if (answer.isEmpty()) {
            return std::nullopt;
        }
        return answer;
    }

    // Queues a confirmed file dialog choosing these names with the given filter pair.
    void ChooseFiles(const QStringList& names, int filterIndex = 0) {
        fileAnswers.push_back(FileDialogAnswer{names, filterIndex});
    }

    std::vector<MessageRequest> messages;
    std::deque<MessageAnswer> messageAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::deque<FileDialogAnswer> fileAnswers; // no file names: the user cancels
    std::vector<QString> folderTitles;
    std::deque<QString> folderAnswers; // an empty text: the user cancels
};

class FakeDesktopServices final : public DesktopServices {
public:
    void OpenUrl(const QUrl& url) override { opened.push_back(url); }
    QString ClipboardText() override { return clipboard; }
    void SetClipboardText(const QString& text) override { clipboard = text; }

    std::vector<QUrl> opened;
    QString clipboard;
};

// A window with fakes, and the fakes it owns.
struct FormWithFakes {
    FormWithFakes() {
        auto ownedDialogs = std::make_unique<FakeUserDialogs>();
        auto ownedDesktop = std::make_unique<FakeDesktopServices>();
        dialogs = ownedDialogs.get();
        desktop = ownedDesktop.get();
        form = std::make_unique<TForm1>(std::move(ownedDialogs), std::move(ownedDesktop));
        form->PageControl->SetActivePageIndex(0);
    }

    std::unique_ptr<TForm1> form;
    FakeUserDialogs* dialogs = nullptr;
    FakeDesktopServices* desktop = nullptr;
};

inline void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        qFatal("cannot write the fixture %s", qPrintable(path));
    }
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Waits for the next modal dialog and hands it to answer. A dialog that the answer leaves open
// is rejected a few seconds later, so that the test goes on and reports instead of hanging.
inline void AnswerNextDialog(std::function<void(QDialog*)> answer) {
    struct State {
        bool answered = false;
        QPointer<QDialog> dialog;
        QElapsedTimer waiting;
    };
    auto* poll = new QTimer(QCoreApplication::instance());
    auto state = std::make_shared<State>();
    state->waiting.start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, state, answer] {
        if (!state->answered) {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                state->answered = true;
                state->dialog = dialog;
                state->waiting.restart();
                answer(dialog);
            } else if (state->waiting.elapsed() > 5000) {
                poll->deleteLater(); // no dialog came
            }
            return;
        }
        if (state->dialog.isNull() || !state->dialog->isVisible()) {
            poll->deleteLater();
        } else if (state->waiting.elapsed() > 5000) {
            state->dialog->reject();
        }
    });
    poll->start(20);
}

// Drops the files on the window as the desktop does: the drag enters, then the files drop.
inline void Drop(TForm1& form, const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    QMimeData data;
    data.setUrls(urls);
    // As the desktop does it: the drag enters the window, then the files are dropped.
    const QPoint where(100, 100);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    if (!enter.isAccepted()) {
        qFatal("the window refused the drag");
    }
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    if (!drop.isAccepted()) {
        qFatal("the window refused the drop");
    }
}

} // namespace quorvix::test

#pragma once

#include "platform/Dialogs.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

namespace tx {

// Dialogs for tests: records every message box and file dialog asked for and answers
// from queues of scripted answers. With no scripted answer left, a message box answers
// the first offered of Yes and Ok (else the first offered button), a file dialog cancels.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        QPointer<QWidget> owner;
        QWidget* ownerAtCall = nullptr; // the pointer given, even if the owner is gone since
        QString text;
        QString caption;
        MessageIcon icon = MessageIcon::None;
        int buttons = 0;
        int answer = 0;
    };
    enum class FileKind { Open, Save };
    struct FileRequest {
        FileKind kind = FileKind::Open;
        QPointer<QWidget> owner;
        QString filter;
        QString defaultExtension;
        QString proposedName; // save only
        QString answer;
    };

    int messageBox(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon,
                   int buttons) override;
    QString openFile(QWidget* owner, const QString& filter,
                     const QString& defaultExtension) override;
    QString saveFile(QWidget* owner, const QString& filter, const QString& defaultExtension,
                     const QString& proposedName) override;
    FileChoice chooseOpenFile(QWidget* owner, const QString& filter,
                              const QString& defaultExtension) override;

    // Scripted answers, used in order.
    void answerMessage(int button) { messageAnswers_.push_back(button); }
    void answerFile(const QString& path, int filterIndex = 1) {
        fileAnswers_.push_back(FileChoice{path, filterIndex});
    }
    void cancelFile() { answerFile(QString()); }

    // Called when a message box is shown, after it is recorded, before it answers (e.g.
    // to look at the window state at that moment).
    std::function<void(const Message&)> onMessage;

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<FileRequest>& fileRequests() const { return files_; }
    // Texts of the message boxes shown, in order.
    QStringList messageTexts() const;
    int pendingAnswers() const { return int(messageAnswers_.size() + fileAnswers_.size()); }
    void clear();

    static int defaultAnswer(int buttons);

private:
    FileChoice nextFile();
    std::deque<int> messageAnswers_;
    std::deque<FileChoice> fileAnswers_;
    std::vector<Message> messages_;
    std::vector<FileRequest> files_;
};

} // namespace tx

#include "ScriptedDialogs.h"

namespace tx {

int ScriptedDialogs::defaultAnswer(int buttons) {
    for (int b : {Yes, Ok, No, Cancel})
        if (buttons & b)
            return b;
    return Ok;
}

int ScriptedDialogs::messageBox(QWidget* owner, const QString& text, const QString& caption,
                                MessageIcon icon, int buttons) {
    int answer = defaultAnswer(buttons);
    if (!messageAnswers_.empty()) {
        answer = messageAnswers_.front();
        messageAnswers_.pop_front();
    }
    messages_.push_back(Message{owner, owner, text, caption, icon, buttons, answer});
    if (onMessage)
        onMessage(messages_.back());
    return answer;
}

FileChoice ScriptedDialogs::nextFile() {
    if (fileAnswers_.empty())
        return FileChoice{};
    FileChoice c = fileAnswers_.front();
    fileAnswers_.pop_front();
    return c;
}

FileChoice ScriptedDialogs::chooseOpenFile(QWidget* owner, const QString& filter,
                                           const QString& defaultExtension) {
    const FileChoice c = nextFile();
    files_.push_back(
        FileRequest{FileKind::Open, owner, filter, defaultExtension, QString(), c.path});
    return c;
}

QString ScriptedDialogs::openFile(QWidget* owner, const QString& filter,
                                  const QString& defaultExtension) {
    return chooseOpenFile(owner, filter, defaultExtension).path;
}

QString ScriptedDialogs::saveFile(QWidget* owner, const QString& filter,
                                  const QString& defaultExtension, const QString& proposedName) {
    const FileChoice c = nextFile();
    files_.push_back(
        FileRequest{FileKind::Save, owner, filter, defaultExtension, proposedName, c.path});
    return c.path;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList out;
    for (const Message& m : messages_)
        out << m.text;
    return out;
}

void ScriptedDialogs::clear() {
    messageAnswers_.clear();
    fileAnswers_.clear();
    messages_.clear();
    files_.clear();
}

} // namespace tx

#pragma once

#include <QString>

class QWidget;

namespace tx {

enum class MessageIcon { None, Information, Warning, Error, Question };

// Buttons offered and the answer given; combine offers with |.
enum MessageButton : int { Ok = 1, Cancel = 2, Yes = 4, No = 8 };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Answers the button pressed (one of MessageButton).
    virtual int messageBox(QWidget* owner, const QString& text, const QString& caption,
                           MessageIcon icon, int buttons) = 0;
    // Answer an empty string when the user cancels.
    virtual QString openFile(QWidget* owner, const QString& filter,
                             const QString& defaultExtension) = 0;
    virtual QString saveFile(QWidget* owner, const QString& filter,
                             const QString& defaultExtension, const QString& proposedName) = 0;
};

} // namespace tx

#pragma once

#include "Dialogs.h"

#include <QStringList>

namespace tx {

// Message boxes (QMessageBox, modal over the owner, Chinese button texts) and file
// dialogs (QFileDialog, modal over the owner).
class QtDialogs : public Dialogs {
public:
    int messageBox(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon,
                   int buttons) override;
    QString openFile(QWidget* owner, const QString& filter,
                     const QString& defaultExtension) override;
    QString saveFile(QWidget* owner, const QString& filter, const QString& defaultExtension,
                     const QString& proposedName) override;
    FileChoice chooseOpenFile(QWidget* owner, const QString& filter,
                              const QString& defaultExtension) override;

    // The filter entries in Qt's form ("*.wav (*.wav)"), one per entry, in order.
    static QStringList toQtFilters(const QString& filter);
    // "wav" from "wav", ".wav" or "*.wav"; empty when there is none.
    static QString normalExtension(const QString& defaultExtension);
    // The name with "." + extension appended when its file name has no extension.
    static QString withDefaultExtension(const QString& path, const QString& defaultExtension);
};

} // namespace tx

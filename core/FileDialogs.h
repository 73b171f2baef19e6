#pragma once

#include <QString>

#include <memory>

class QWidget;

// The file dialogs of the program. Tests install one that answers with a prepared file name.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen file, or an empty text when cancelled. The filter is in Qt's form
    // ("Text File (*.txt);;All Files (*)"); the dialog asks before overwriting.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& fileName,
                                 const QString& filter)
        = 0;
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) = 0;
};

namespace Dialogs {
FileDialogs& files();
// Installs the dialogs; the default ones are QFileDialog's.
void setFiles(std::unique_ptr<FileDialogs> dialogs);
} // namespace Dialogs

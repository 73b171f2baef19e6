#include "core/FileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace {
class QtFileDialogs final : public FileDialogs {
public:
    QString saveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& fileName,
                         const QString& filter) override
    {
        const QString start = fileName.isEmpty() ? folder : QDir(folder).filePath(fileName);
        return QFileDialog::getSaveFileName(parent, title, start, filter);
    }

    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    }
};

std::unique_ptr<FileDialogs>& dialogSlot()
{
    static std::unique_ptr<FileDialogs> slot = std::make_unique<QtFileDialogs>();
    return slot;
}
} // namespace

namespace Dialogs {
FileDialogs& files()
{
    return *dialogSlot();
}

void setFiles(std::unique_ptr<FileDialogs> dialogs)
{
    dialogSlot() = dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogs>();
}
} // namespace Dialogs

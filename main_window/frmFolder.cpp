#include "main_window/frmFolder.h"

#include "core/Actions.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

namespace {
QString cleanFolder(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

bool isUnder(const QString& folder, const QString& root)
{
    if (root == QStringLiteral("/"))
        return folder.startsWith(root);
    return folder == root || folder.startsWith(root + QLatin1Char('/'));
}
} // namespace

frmFolder::frmFolder(const QString& initialFolder, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(QStringLiteral("Select Folder"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("Drive:"), this);
    label->setObjectName(QStringLiteral("zlabel1"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("drvDrive"));
    m_drives->setAccessibleName(QStringLiteral("Drive"));
    label->setBuddy(m_drives);
    QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo& volume : volumes) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString name = volume.displayName();
        m_drives->addItem(name == volume.rootPath() ? name : volume.rootPath() + QStringLiteral(" [") + name + QLatin1Char(']'),
                          volume.rootPath());
    }

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QString());
    m_folders = new QTreeView(this);
    m_folders->setObjectName(QStringLiteral("dirFolder"));
    m_folders->setAccessibleName(QStringLiteral("Folder"));
    m_folders->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_folders->hideColumn(column);
    m_folders->setHeaderHidden(true);

    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("ztxtPath"));
    m_path->setAccessibleName(QStringLiteral("Folder"));
    m_path->setReadOnly(true);
    m_path->setEnabled(false);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_drives, 0, 1);
    grid->addWidget(m_folders, 1, 0, 1, 2);
    grid->addWidget(m_path, 2, 0, 1, 2);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(m_cancel);
    grid->addLayout(row, 3, 0, 1, 2);
    setFixedSize(420, 420);

    connect(m_drives, &QComboBox::activated, this, &frmFolder::chooseDrive);
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmFolder::showSelectedFolder);
    connect(m_folders, &QTreeView::clicked, this, &frmFolder::showSelectedFolder);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_chosen = m_path->text();
        accept();
    });
    // Escape and the close box reject too: both hand back an empty text.
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_chosen.clear(); });

    if (!initialFolder.isEmpty()) {
        BusyPointer busy;
        openFolder(initialFolder);
    } else if (m_drives->count() > 0) {
        chooseDrive(0);
    }
    showSelectedFolder();
}

QString frmFolder::selectedFolder() const
{
    return m_path->text();
}

void frmFolder::chooseDrive(int index)
{
    if (index < 0 || index >= m_drives->count())
        return;
    const QString root = m_drives->itemData(index).toString();
    // A drive that cannot be read leaves the folder list where it was.
    if (!QFileInfo(root).isReadable())
        return;
    BusyPointer busy;
    m_drives->setCurrentIndex(index);
    m_folders->setRootIndex(m_model->index(root));
    m_folders->setCurrentIndex(QModelIndex());
    showSelectedFolder();
}

bool frmFolder::openFolder(const QString& folder)
{
    const QString path = cleanFolder(folder);
    if (!QFileInfo(path).isDir())
        return false;
    // The drive is the mounted file system that holds the folder: the longest root above it.
    int drive = -1;
    int longest = -1;
    for (int i = 0; i < m_drives->count(); ++i) {
        const QString root = m_drives->itemData(i).toString();
        if (isUnder(path, root) && root.size() > longest) {
            longest = static_cast<int>(root.size());
            drive = i;
        }
    }
    if (drive >= 0)
        chooseDrive(drive);
    const QModelIndex index = m_model->index(path);
    if (!index.isValid())
        return false;
    m_folders->setCurrentIndex(index);
    m_folders->expand(index);
    m_folders->scrollTo(index);
    showSelectedFolder();
    return true;
}

void frmFolder::showSelectedFolder()
{
    BusyPointer busy;
    const QModelIndex current = m_folders->currentIndex();
    if (current.isValid())
        m_path->setText(m_model->filePath(current));
    else if (m_drives->currentIndex() >= 0)
        m_path->setText(m_drives->currentData().toString());
}

#include "administration/FileToolWindow.h"

#include "administration/FileTools.h"
#include "core/Actions.h"
#include "core/Permissions.h"
#include "core/TextUtilities.h"
#include "core/Viewers.h"
#include "form_framework/WindowList.h"
#include "form_framework/zCheckBox.h"
#include "form_framework/zInfo.h"
#include "form_framework/zText.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

#include <memory>

namespace {
const QString kLineEnd = QStringLiteral("\r\n");
}

FileToolWindow::FileToolWindow(const QString& className, const QString& caption, const QString& runCaption,
    const QString& actionCode, int findMaxLength)
    : DataWindow(className)
    , m_actionCode(actionCode)
{
    setWindowTitle(caption);
    info()->setFormType(FormType::Other);
    m_grid = new QGridLayout(this);

    auto field = [this](const char* name, const QString& goodName, bool required) {
        auto* text = new zText(this);
        text->setObjectName(QString::fromLatin1(name));
        text->setGoodName(goodName);
        text->setRequired(required);
        text->setPartOfTheQuery(false);
        text->setMinimumSize(240, 24);
        return text;
    };
    ztxtFolder = field("ztxtFolder", QStringLiteral("Folder"), true);
    ztxtFolder->setTextType(zText::FolderPath);
    ztxtFindWhat = field("ztxtFindWhat", QStringLiteral("Find What"), true);
    ztxtFindWhat->setMaxLength(findMaxLength);
    ztxtReplaceWith = field("ztxtReplaceWith", QStringLiteral("Replace With"), false);
    ztxtReplaceWith->setMaxLength(findMaxLength);
    ztxtReplaceWith->setFinalValidation([this] { return differentFromFindWhat(); });
    zchkSubFolders = new zCheckBox(this);
    zchkSubFolders->setObjectName(QStringLiteral("zchkSubFolders"));
    // Named like every field control: screen readers and error messages say which box it is.
    zchkSubFolders->setGoodName(QStringLiteral("Include SubFolders"));
    zchkSubFolders->setCaption(QStringLiteral("Include SubFolders"));
    zchkSubFolders->setPartOfTheQuery(false);
    zchkSubFolders->setMinimumSize(200, 24);

    auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    btnBrowseFolder = button("btnBrowseFolder", QStringLiteral("..."));
    btnBrowseFolder->setAccessibleName(QStringLiteral("Browse Folder"));
    btnRename = button("btnRename", runCaption);
    btnRename->setEnabled(false);
    btnClose = button("btnClose", QStringLiteral("&Close"));
    txtResult = new QPlainTextEdit(this);
    txtResult->setObjectName(QStringLiteral("txtResult"));
    txtResult->setReadOnly(true);
    txtResult->setAccessibleName(QStringLiteral("Result"));

    addRow(QStringLiteral("Folder:"), ztxtFolder, btnBrowseFolder);
    addRow(QStringLiteral("Find What:"), ztxtFindWhat);
    addRow(QStringLiteral("Replace With:"), ztxtReplaceWith);

    connect(ztxtFolder, &zFieldBase::Change, this,
        [this] { btnRename->setEnabled(!m_running && !ztxtFolder->box()->text().trimmed().isEmpty()); });
    connect(btnBrowseFolder, &QPushButton::clicked, this, [this] { ztxtFolder->BrowseFolder(); });
    connect(btnRename, &QPushButton::clicked, this, &FileToolWindow::btnRename_Click);
    connect(btnClose, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
    // Installed after the controller's filter, so it sees a close request first.
    installEventFilter(this);
    resize(560, 440);
}

QString FileToolWindow::differentFromFindWhat() const
{
    if (ztxtReplaceWith->Text().compare(ztxtFindWhat->Text(), Qt::CaseInsensitive) == 0)
        return ztxtReplaceWith->GoodName() + QStringLiteral(" should be different from ") + ztxtFindWhat->GoodName();
    return QString();
}

void FileToolWindow::addRow(const QString& labelText, QWidget* field, QWidget* extra)
{
    auto* label = new QLabel(labelText, this);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QStringLiteral("zlabel1_%1").arg(m_rows));
    if (auto* text = qobject_cast<zText*>(field))
        label->setBuddy(text->box());
    m_grid->addWidget(label, m_rows, 0);
    m_grid->addWidget(field, m_rows, 1);
    if (extra)
        m_grid->addWidget(extra, m_rows, 2);
    ++m_rows;
}

void FileToolWindow::AfterPopulateForm()
{
    m_grid->addWidget(zchkSubFolders, m_rows++, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRename);
    buttons->addWidget(btnClose);
    m_grid->addLayout(buttons, m_rows++, 0, 1, 3);
    m_grid->addWidget(txtResult, m_rows, 0, 1, 3);
    m_grid->setRowStretch(m_rows, 1);
    m_grid->setColumnStretch(1, 1);
    loadSettings();
}

void FileToolWindow::loadSettings()
{
    ztxtFolder->GetSetting();
    zchkSubFolders->GetSetting();
}

void FileToolWindow::saveSettings()
{
    ztxtFolder->SaveSetting();
    zchkSubFolders->SaveSetting();
}

bool FileToolWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Close) {
        if (m_running) {
            event->ignore();
            return true;
        }
        saveSettings();
    }
    return DataWindow::eventFilter(watched, event);
}

QString FileToolWindow::log() const { return m_log; }

void FileToolWindow::setResultText(const QString& entry)
{
    m_log = entry + kLineEnd;
    txtResult->setPlainText(m_log);
}

void FileToolWindow::AddResultText(const QString& entry)
{
    m_log += entry + kLineEnd;
    txtResult->moveCursor(QTextCursor::End);
    txtResult->insertPlainText(entry + QLatin1Char('\n'));
    txtResult->moveCursor(QTextCursor::End);
    QApplication::processEvents();
    m_sincePainted.start();
}

void FileToolWindow::keepPainting()
{
    // A pass of the event loop costs more than a small file: one every 40 ms is enough to paint.
    if (m_sincePainted.isValid() && m_sincePainted.elapsed() < 40)
        return;
    QApplication::processEvents();
    m_sincePainted.start();
}

QString FileToolWindow::runAside(const std::function<QString()>& work)
{
    QString result;
    QEventLoop waiting;
    std::unique_ptr<QThread> worker(QThread::create([&result, &work] { result = work(); }));
    // Queued to this thread: a quick worker's end still reaches the loop once it runs.
    connect(worker.get(), &QThread::finished, &waiting, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    waiting.exec();
    worker->wait();
    m_sincePainted.start();
    return result;
}

void FileToolWindow::setRunning(bool running)
{
    m_running = running;
    btnRename->setEnabled(!running && !ztxtFolder->box()->text().trimmed().isEmpty());
    btnBrowseFolder->setEnabled(!running);
    btnClose->setEnabled(!running);
}

void FileToolWindow::walk(const QString& pattern, const std::function<void(const QString&, const QString&)>& file)
{
    FolderWalkHandlers handlers;
    handlers.includeSubFolders = [this] { return zchkSubFolders->Value().toBool(); };
    handlers.file = [this, &file](const QString& folder, const QString& name) {
        file(folder, name);
        keepPainting();
    };
    handlers.subFolder = [this](const QString& folder) { AddResultText(QStringLiteral(">> Folder: ") + folder); };
    ProcessFolder(ztxtFolder->Value().toString(), pattern, handlers);
}

void FileToolWindow::btnRename_Click()
{
    if (m_running || !CheckActionPermission(m_actionCode, true))
        return;
    for (zFieldBase* field : fieldsToCheck()) {
        if (!field->IsValid())
            return;
    }
    ActionScope action(objectName(), QStringLiteral("btnRename_Click"), windowTitle());
    action.run([this] {
        BusyPointer busy;
        setRunning(true);
        struct Idle {
            FileToolWindow* window;
            ~Idle() { window->setRunning(false); }
        } idle { this };
        run();
        ShowText(m_log);
    });
}

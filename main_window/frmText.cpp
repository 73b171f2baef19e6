#include "main_window/frmText.h"

#include "core/Actions.h"
#include "form_framework/ChildWindows.h"
#include "core/Database.h"
#include "core/FileDialogs.h"
#include "core/InputRoutines.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"
#include "core/Settings.h"
#include "core/TextUtilities.h"
#include "form_framework/WindowList.h"
#include "form_framework/WindowOpening.h"
#include "form_framework/zInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The desktop's fixed font, or where the desktop names a font that is not of fixed pitch (some font
// sets alias "monospace" to one), the first installed family that is: the columns of an exported
// text line up only in a font of fixed pitch.
QFont fixedPitchFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (QFontInfo(font).fixedPitch())
        return font;
    QStringList families = { QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
        QStringLiteral("Noto Mono"), QStringLiteral("Courier New") };
    families += QFontDatabase::families();
    for (const QString& family : families) {
        if (!QFontDatabase::families().contains(family) || !QFontDatabase::isFixedPitch(family))
            continue;
        font.setFamily(family);
        if (QFontInfo(font).fixedPitch())
            return font;
    }
    return font;
}
const QString kNotSaved = QStringLiteral("<Not Saved>");
const QString kDefaultFolder = QStringLiteral("DefaultFolder");
// Tab stops every 8 characters; a tab-separated column is as wide as its widest cell plus 2
// characters (the cell counted up to a limit, so one long note does not push the columns after it
// off the screen).
constexpr int kTabCharacters = 8;
constexpr int kColumnGap = 2;
constexpr int kWidestColumn = 48;
constexpr int kMostColumns = 256;

// The line end the text uses: CR LF when it has one, else CR when it has a lone one, else LF.
QString lineEndOf(const QString& text)
{
    if (text.contains(QLatin1String("\r\n")))
        return QStringLiteral("\r\n");
    if (text.contains(QLatin1Char('\r')))
        return QStringLiteral("\r");
    return QStringLiteral("\n");
}
} // namespace

frmText::frmText()
    : DataWindow(QStringLiteral("frmText"))
{
    setWindowTitle(QStringLiteral("View Text"));
    info()->setFormType(FormType::Other);

    auto* label = new QLabel(QStringLiteral("Text File:"), this);
    label->setObjectName(QStringLiteral("zlabel1"));
    m_path = new QLineEdit(kNotSaved, this);
    m_path->setObjectName(QStringLiteral("txtPath"));
    m_path->setReadOnly(true);
    m_path->setAccessibleName(QStringLiteral("Text File"));
    label->setBuddy(m_path);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtText"));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setAccessibleName(QStringLiteral("Text"));
    const QFont fixed = fixedPitchFont();
    m_text->setFont(fixed);
    m_text->setTabStopDistance(kTabCharacters * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));

    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("fraButtons"));
    auto* column = new QVBoxLayout(buttons);
    column->setContentsMargins(0, 0, 0, 0);
    auto button = [buttons, column](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), buttons);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        column->addWidget(b);
        return b;
    };
    m_save = button("btnSave", "&Save");
    m_saveAs = button("btnSaveAs", "Save &As");
    m_copyAll = button("btnCopyAll", "Co&py All");
    m_close = button("btnClose", "&Close");
    column->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_path, 0, 1);
    grid->addWidget(m_text, 1, 0, 1, 2);
    grid->addWidget(buttons, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    resize(640, 480);

    m_copyAll->setEnabled(false);
    connect(m_text, &QPlainTextEdit::textChanged, this, &frmText::textChanged);
    connect(m_path, &QLineEdit::textChanged, this, &frmText::pathChanged);
    connect(m_save, &QPushButton::clicked, this, [this] { Save(); });
    connect(m_saveAs, &QPushButton::clicked, this, [this] { SaveAs(); });
    connect(m_copyAll, &QPushButton::clicked, this, &frmText::CopyAll);
    connect(m_close, &QPushButton::clicked, this, [this] { UnloadWindow(this); });
    m_path->installEventFilter(this);
    // Installed after the controller's filter, so it sees the close request first and can keep
    // the window (and the controller's bookkeeping) as they are.
    installEventFilter(this);
}

void frmText::ProcessCommand(MainCommand command)
{
    if (command == MainCommand::Save)
        m_save->click();
    else
        Platform::prompt().beep();
}

QString frmText::text() const
{
    if (!m_edited)
        return m_given;
    // The editor keeps lines as blocks and reads them back with LF; the raw text keeps every
    // character (no-break spaces too) and marks the block ends, which get the given text's line end.
    QString edited = m_text->document()->toRawText();
    edited.replace(QChar::ParagraphSeparator, m_lineEnd);
    return edited;
}

void frmText::takeStartParameters()
{
    BusyPointer busy;
    if (!FormParams::contains(objectName()))
        return;
    showText(FormParams::entry(objectName()).value(QStringLiteral("Text")).toString());
    FormParams::remove(objectName());
}

void frmText::showText(const QString& text)
{
    m_given = text;
    m_lineEnd = lineEndOf(text);
    setColumnTabStops(text);
    m_showing = true;
    m_text->setPlainText(text);
    m_showing = false;
    m_edited = false;
    m_changed = false;
    m_copyAll->setEnabled(!text.trimmed().isEmpty());
}

void frmText::setColumnTabStops(const QString& text)
{
    QList<int> widths;
    static const QRegularExpression lineEnds(QStringLiteral("\r\n|\r|\n"));
    for (const QStringView line : QStringView(text).split(lineEnds)) {
        if (!line.contains(QLatin1Char('\t')))
            continue;
        const QList<QStringView> cells = line.split(QLatin1Char('\t'));
        // The last cell ends the line: no tab stop follows it.
        for (qsizetype column = 0; column + 1 < cells.size() && column < kMostColumns; ++column) {
            const int width = static_cast<int>(std::min<qsizetype>(cells.at(column).size(), kWidestColumn));
            if (column == widths.size())
                widths << width;
            else
                widths[column] = std::max(widths.at(column), width);
        }
    }
    QTextOption option = m_text->document()->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    const qreal character = QFontMetricsF(m_text->font()).horizontalAdvance(QLatin1Char(' '));
    qreal position = 0;
    for (const int width : widths) {
        position += (width + kColumnGap) * character;
        tabs << QTextOption::Tab(position, QTextOption::LeftTab);
    }
    option.setTabs(tabs);
    m_text->document()->setDefaultTextOption(option);
}

void frmText::textChanged()
{
    if (m_showing)
        return;
    m_edited = true;
    m_changed = true;
    m_copyAll->setEnabled(!m_text->toPlainText().trimmed().isEmpty());
}

void frmText::pathChanged()
{
    SetCaption(this, QStringLiteral("View Text - ") + m_path->text());
}

void frmText::CopyAll()
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text());
}

bool frmText::Save()
{
    if (m_path->text().compare(kNotSaved, Qt::CaseInsensitive) == 0)
        return SaveAs();
    if (!SaveTextFile(m_path->text(), text()))
        return false;
    m_changed = false;
    return true;
}

bool frmText::SaveAs()
{
    QString folder;
    if (DBConnection()) {
        QVariant stored;
        if (Act_GetSettingDB(kDefaultFolder, stored))
            folder = stored.toString();
    }
    const QString file = Dialogs::files().saveFileName(this, QStringLiteral("Save As"), folder, QString(),
                                                       QStringLiteral("Text File (*.txt);;Tab Delimited File (*.tsv);;All Files (*)"));
    if (file.isEmpty())
        return false;
    if (DBConnection())
        Act_SaveSettingDB(kDefaultFolder, QFileInfo(file).absolutePath());
    if (!SaveTextFile(file, text()))
        return false;
    m_changed = false;
    m_path->setText(file);
    return true;
}

bool frmText::mayClose()
{
    if (!m_changed)
        return true;
    bringToFront();
    switch (ConfirmSaveChanges(QStringLiteral("Text"))) {
    case MsgBox::Yes:
        Save();
        return !m_changed;
    case MsgBox::No:
        return true;
    default:
        return false;
    }
}

bool frmText::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Close && !mayClose()) {
        event->ignore();
        return true;
    }
    if (watched == m_path && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_path, [this] { SelectAllText(m_path); });
    return DataWindow::eventFilter(watched, event);
}

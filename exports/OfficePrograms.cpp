#include "exports/OfficePrograms.h"

#include "core/Actions.h"
#include "core/DesktopOpener.h"
#include "core/MessageBoxes.h"
#include "core/Platform.h"

#include <QStandardPaths>
#include <QUrl>

namespace {

QString findProgram(OfficeProgram kind)
{
    for (const QString& name : OfficeProgramCandidates(kind)) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString missingProgramText(OfficeProgram kind)
{
    switch (kind) {
    case OfficeProgram::ImageEditor:
        return QStringLiteral("No image editor is installed (looked for ") + OfficeProgramCandidates(kind).join(QStringLiteral(", "))
            + QStringLiteral(").");
    case OfficeProgram::Paint:
        return QStringLiteral("No paint program is installed (looked for ") + OfficeProgramCandidates(kind).join(QStringLiteral(", "))
            + QStringLiteral(").");
    case OfficeProgram::Spreadsheet:
    case OfficeProgram::WordProcessor:
        break;
    }
    return {};
}

// The one routine behind GetExcel, GetWord and GetPhotoshop. There is no running instance to attach
// to: the spreadsheet is the desktop's program for workbooks, the word processor our own preview,
// and the image editor the first one found on the PATH.
bool getApplication(OfficeProgram kind, OfficeApplication& application)
{
    BusyPointer busy;
    QString program;
    if (kind == OfficeProgram::ImageEditor || kind == OfficeProgram::Paint) {
        program = findProgram(kind);
        if (program.isEmpty()) {
            application = OfficeApplication();
            ShowErrorMessage(missingProgramText(kind));
            return false;
        }
    }
    application = OfficeApplication(kind, program);
    application.setValid(true);
    return true;
}

} // namespace

bool OfficeApplication::open(const QString& path, QString& error) const
{
    if (!m_valid) {
        error = QStringLiteral("No program was chosen to open ") + path;
        return false;
    }
    if (m_program.isEmpty()) {
        if (Desktop::opener().open(QUrl::fromLocalFile(path)))
            return true;
        error = QStringLiteral("The desktop has no program that opens ") + path;
        return false;
    }
    if (Platform::processes().startDetached(m_program, { path }, QString()))
        return true;
    error = QStringLiteral("Cannot start ") + m_program;
    return false;
}

QStringList OfficeProgramCandidates(OfficeProgram kind)
{
    switch (kind) {
    case OfficeProgram::ImageEditor:
        return { QStringLiteral("gimp"), QStringLiteral("krita"), QStringLiteral("pinta") };
    case OfficeProgram::Paint:
        return { QStringLiteral("kolourpaint"), QStringLiteral("pinta"), QStringLiteral("mtpaint"), QStringLiteral("gimp") };
    case OfficeProgram::Spreadsheet:
    case OfficeProgram::WordProcessor:
        break;
    }
    return {};
}

bool GetExcel(OfficeApplication& application)
{
    return getApplication(OfficeProgram::Spreadsheet, application);
}

bool GetWord(OfficeApplication& application)
{
    return getApplication(OfficeProgram::WordProcessor, application);
}

bool GetPhotoshop(OfficeApplication& application)
{
    return getApplication(OfficeProgram::ImageEditor, application);
}

void OpenInPaint(const QString& path)
{
    // The program gets the path as one argument, so blanks in it need no quoting.
    const QString program = findProgram(OfficeProgram::Paint);
    if (program.isEmpty()) {
        ShowErrorMessage(missingProgramText(OfficeProgram::Paint));
        return;
    }
    if (!Platform::processes().startDetached(program, { path }, QString()))
        ShowErrorMessage(QStringLiteral("Cannot start ") + program);
}

void OpenInPhotoshop(const QString& path)
{
    BusyPointer busy;
    OfficeApplication editor;
    // Without an editor the clerk has read which programs were looked for: one box says it all.
    if (!GetPhotoshop(editor))
        return;
    QString error;
    if (!editor.open(path, error))
        ShowErrorMessage(error);
}

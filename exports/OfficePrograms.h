#pragma once

#include <QString>
#include <QStringList>

// The desktop programs the exports and the item files are handed to: a spreadsheet program, a
// word processor, an image editor and a paint program. Nothing is driven by automation: a workbook
// is written first and then opened with the desktop's program for it; a mail-merge document is our
// own preview window; pictures go to an image editor or paint program found on the PATH.

enum class OfficeProgram : int {
    Spreadsheet = 1,
    WordProcessor = 2,
    ImageEditor = 3,
    Paint = 4,
};

// One program that files can be opened with: the desktop's own program for the file (no program
// named), or a program found on the PATH that takes the file as its one argument.
class OfficeApplication {
public:
    OfficeApplication() = default;
    OfficeApplication(OfficeProgram kind, QString program)
        : m_kind(kind)
        , m_program(std::move(program))
    {
    }
    OfficeProgram kind() const { return m_kind; }
    // Empty when the desktop chooses the program by the file's type.
    const QString& program() const { return m_program; }
    bool isValid() const { return m_valid; }
    void setValid(bool valid) { m_valid = valid; }

    // Opens the file; false with the reason in error when nothing could open it.
    bool open(const QString& path, QString& error) const;

private:
    OfficeProgram m_kind = OfficeProgram::Spreadsheet;
    QString m_program;
    bool m_valid = false;
};

// The program names looked for on the PATH, in order (image editor and paint program).
QStringList OfficeProgramCandidates(OfficeProgram kind);

// Busy pointer while looking; true with the application filled in. When no program can serve, the
// reason is shown in the error box and the result is false (the caller adds its own message).
bool GetExcel(OfficeApplication& application);
bool GetWord(OfficeApplication& application);
bool GetPhotoshop(OfficeApplication& application);

// Starts the paint program with the file as its one argument (a path with blanks stays whole);
// a failure shows its reason in the error box.
void OpenInPaint(const QString& path);
// Opens the file in the image editor; when there is none, the one box says which programs were
// looked for.
void OpenInPhotoshop(const QString& path);

#pragma once

#include <QString>

#include <exception>
#include <string>

// The platform's base for application error numbers (hexadecimal 80040000).
constexpr qint32 ErrApplicationBase = -2147221504;
// A failure the program detected itself; its description is the whole text the user reads.
constexpr qint32 ErrToReport = ErrApplicationBase + 1000;
// A failure already recorded by a nested action: never recorded again, never shown.
constexpr qint32 ErrSilent = ErrApplicationBase + 1001;
// Error numbers the error dialog recommends on.
constexpr qint32 ErrProviderFailure = -2147467259; // general provider failure
constexpr qint32 ErrQueryTimeout = -2147217871;
constexpr qint32 ErrProviderCommand = -2147217900; // the server refused a command
constexpr qint32 ErrComponentNotCreatable = 429;
constexpr qint32 ErrInternal = 5; // an unexpected failure inside the program

// A failure: number, description and source, as every layer of the program raises them.
class AppError : public std::exception {
public:
    AppError(qint32 number, QString description, QString source = {});

    qint32 number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

// Raises ErrToReport with the application title as source.
[[noreturn]] void RaiseToReport(const QString& description);
// Raises ErrSilent: a nested action failed and has recorded its failure.
[[noreturn]] void RaiseSilent();

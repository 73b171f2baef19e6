#pragma once

#include "core/ErrorNumbers.h"

#include <QString>

#include <exception>
#include <string>

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

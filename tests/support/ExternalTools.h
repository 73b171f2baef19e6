#pragma once

// Command-line tools the tests read their output with (pdftotext, unzip, zbarimg).

#include <QString>
#include <QStringList>

// A tool's standard output once it finishes; "" when it does not within 30 seconds.
QString RunTool(const QString& program, const QStringList& arguments);

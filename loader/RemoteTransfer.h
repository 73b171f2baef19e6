#pragma once

#include <QString>

class QIODevice;

// One transfer from an http, https, ftp or ftps address (libcurl). The body goes to the sink as it
// arrives; an HTTP answer of 400 or more writes nothing and fails.
struct TransferResult {
    bool succeeded = false;
    // The server answered that the file does not exist (HTTP 404, FTP "file unavailable").
    bool notFound = false;
    // Why the transfer failed, for the failure message; empty on success.
    QString description;
};

TransferResult FetchAddress(const QString& address, QIODevice& sink);

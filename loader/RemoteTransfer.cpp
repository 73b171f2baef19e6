#include "loader/RemoteTransfer.h"

#include "core/SqlText.h"

#include <QIODevice>

#include <curl/curl.h>

#include <memory>

namespace {

// Generous enough for a slow line, short enough that a dead server ends the start with a message
// instead of a window that hangs for ever.
constexpr long ConnectTimeoutSeconds = 30;
constexpr long StalledSeconds = 60;

void initialiseOnce()
{
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

size_t writeToSink(char* data, size_t size, size_t count, void* sink)
{
    const qint64 length = static_cast<qint64>(size * count);
    const qint64 written = static_cast<QIODevice*>(sink)->write(data, length);
    // Anything short of the whole block makes libcurl stop with a write error.
    return written == length ? static_cast<size_t>(written) : 0;
}

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

} // namespace

TransferResult FetchAddress(const QString& address, QIODevice& sink)
{
    initialiseOnce();
    TransferResult result;
    std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle) {
        result.description = QStringLiteral("Cannot start a transfer for ") + AngleQuote(address) + QLatin1Char('.');
        return result;
    }
    const QByteArray url = address.toUtf8();
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* curl = handle.get();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, ConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, StalledSeconds);
    // An update location names one of these; a redirect must not lead anywhere else (file://).
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp,ftps");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp,ftps");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeToSink);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

    const CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_OK) {
        result.succeeded = true;
        return result;
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.notFound = code == CURLE_REMOTE_FILE_NOT_FOUND || (code == CURLE_HTTP_RETURNED_ERROR && status == 404);
    const QString detail = errorText[0] ? QString::fromUtf8(errorText) : QString::fromUtf8(curl_easy_strerror(code));
    result.description
        = QStringLiteral("Cannot fetch ") + AngleQuote(address) + QStringLiteral(": ") + detail.trimmed();
    if (!result.description.endsWith(QLatin1Char('.')))
        result.description += QLatin1Char('.');
    return result;
}

#include "support/LostAnswerRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

constexpr quint32 kSslRequest = 80877103;
constexpr quint32 kGssRequest = 80877104;
constexpr quint32 kCancelRequest = 80877102;

quint32 bigEndian32(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return static_cast<quint32>(static_cast<unsigned char>(bytes.at(at + i))); };
    return (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
}

// A message's length field.
qsizetype length(const QByteArray& bytes, qsizetype at) { return static_cast<qsizetype>(bigEndian32(bytes, at)); }

bool sendAll(int socket, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n
            = ::send(socket, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// Appends what the socket has; false when it is closed.
bool receive(int socket, QByteArray& into)
{
    char buffer[16384];
    const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
    if (n <= 0)
        return false;
    into.append(buffer, n);
    return true;
}

// The text of a NUL-terminated string at the position, and the position after it.
QByteArray cString(const QByteArray& message, qsizetype& at)
{
    const qsizetype end = message.indexOf('\0', at);
    if (end < 0)
        return {};
    const QByteArray text = message.mid(at, end - at);
    at = end + 1;
    return text;
}

} // namespace

LostAnswerRelay::LostAnswerRelay(int serverPort)
    : m_serverPort(serverPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(m_listener, 16) != 0)
        throw std::runtime_error("the relay cannot listen");
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

LostAnswerRelay::~LostAnswerRelay()
{
    m_stopping = true;
    m_acceptor.join();
    for (std::thread& thread : m_threads)
        thread.join();
    ::close(m_listener);
}

QString LostAnswerRelay::server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

void LostAnswerRelay::loseCommitAnswerAfter(const QByteArray& statementStart, int occurrence, bool thenRefuse)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_armedStatement = statementStart;
    m_armedCount = occurrence;
    m_cutNextCommit = false;
    m_cutArmedStatement = false;
    m_refuseAfterCut = thenRefuse;
}

void LostAnswerRelay::loseAnswerTo(const QByteArray& statementStart, int occurrence, bool thenRefuse)
{
    loseCommitAnswerAfter(statementStart, occurrence, thenRefuse);
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_cutArmedStatement = true;
}

bool LostAnswerRelay::statementSent(const QByteArray& statement)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const QByteArray text = statement.trimmed();
    if (m_cutNextCommit) {
        if (text.compare("COMMIT", Qt::CaseInsensitive) != 0)
            return false;
        m_cutNextCommit = false;
        if (m_refuseAfterCut)
            m_refusing = true;
        return true;
    }
    if (!m_armedStatement.isEmpty()
        && text.left(m_armedStatement.size()).compare(m_armedStatement, Qt::CaseInsensitive) == 0
        && --m_armedCount == 0) {
        m_armedStatement.clear();
        if (m_cutArmedStatement) {
            m_cutArmedStatement = false;
            if (m_refuseAfterCut)
                m_refusing = true;
            return true;
        }
        m_cutNextCommit = true;
    }
    return false;
}

void LostAnswerRelay::acceptLoop()
{
    while (!m_stopping) {
        pollfd listening { m_listener, POLLIN, 0 };
        if (::poll(&listening, 1, 50) <= 0)
            continue;
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        if (m_refusing) {
            ::close(client);
            continue;
        }
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_threads.emplace_back([this, client] { relay(client); });
    }
}

void LostAnswerRelay::relay(int client)
{
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<quint16>(m_serverPort));
    if (server < 0 || ::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(client);
        if (server >= 0)
            ::close(server);
        return;
    }
    QByteArray fromClient;
    QByteArray fromServer;
    bool started = false; // the start-up message is through: every message is typed from here on
    int singleByteAnswers = 0; // the server answers an encryption request with one byte
    bool cutting = false;
    bool open = true;
    while (open && !m_stopping) {
        pollfd ends[2] = { { client, POLLIN, 0 }, { server, POLLIN, 0 } };
        if (::poll(ends, 2, 50) <= 0)
            continue;
        if (ends[0].revents != 0) {
            open = receive(client, fromClient);
            for (;;) {
                QByteArray message;
                if (!started) {
                    if (fromClient.size() < 8 || fromClient.size() < length(fromClient, 0))
                        break;
                    message = fromClient.left(length(fromClient, 0));
                    const quint32 code = bigEndian32(message, 4);
                    if (code == kSslRequest || code == kGssRequest)
                        ++singleByteAnswers;
                    else if (code != kCancelRequest)
                        started = true;
                } else {
                    if (fromClient.size() < 5 || fromClient.size() < 1 + length(fromClient, 1))
                        break;
                    message = fromClient.left(1 + length(fromClient, 1));
                    qsizetype at = 5;
                    QByteArray statement;
                    if (message.at(0) == 'P') {
                        cString(message, at); // the statement's name
                        statement = cString(message, at);
                    } else if (message.at(0) == 'Q') {
                        statement = cString(message, at);
                    }
                    if (!statement.isEmpty() && statementSent(statement))
                        cutting = true;
                }
                fromClient.remove(0, message.size());
                open = open && sendAll(server, message);
            }
        }
        if (open && ends[1].revents != 0) {
            open = receive(server, fromServer);
            for (;;) {
                QByteArray message;
                if (singleByteAnswers > 0 && !fromServer.isEmpty()) {
                    --singleByteAnswers;
                    message = fromServer.left(1);
                } else {
                    if (fromServer.size() < 5 || fromServer.size() < 1 + length(fromServer, 1))
                        break;
                    message = fromServer.left(1 + length(fromServer, 1));
                }
                fromServer.remove(0, message.size());
                if (cutting && message.at(0) == 'Z') {
                    // The server has finished the commit and waits for the next query: the
                    // answer goes no further.
                    ++m_lost;
                    open = false;
                    break;
                }
                if (!cutting)
                    open = open && sendAll(client, message);
            }
        }
    }
    ::shutdown(client, SHUT_RDWR);
    ::close(client);
    ::close(server);
}

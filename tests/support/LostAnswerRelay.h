#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A TCP relay between the program and the test cluster that loses the server's answer to a
// commit, as a network that breaks at that moment does: the server really runs and commits the
// unit, then the relay closes the program's connection without passing the answer on. The
// program sees the connection broken with no answer, exactly as after a real outage; the relay
// reads the PostgreSQL protocol only to find the moment.
class LostAnswerRelay {
public:
    // Listens on 127.0.0.1 (a free port) and relays every connection to the cluster's port.
    explicit LostAnswerRelay(int serverPort);
    ~LostAnswerRelay();
    LostAnswerRelay(const LostAnswerRelay&) = delete;
    LostAnswerRelay& operator=(const LostAnswerRelay&) = delete;

    // The server text of a connection through the relay ("127.0.0.1:<port>").
    QString server() const;

    // After the occurrence-th statement from now that starts with statementStart (letter case
    // ignored), the answer to the next COMMIT is lost: the relay waits until the server has
    // finished it (ready for the next query), then closes the connection. With thenRefuse, the
    // relay then refuses every new connection, as a server that stopped, until setRefusing(false).
    void loseCommitAnswerAfter(const QByteArray& statementStart, int occurrence = 1, bool thenRefuse = false);
    // The same for a statement that commits by itself (outside a unit of work): the server runs
    // and commits the occurrence-th statement from now that starts with statementStart, and its
    // answer is lost.
    void loseAnswerTo(const QByteArray& statementStart, int occurrence = 1, bool thenRefuse = false);
    void setRefusing(bool refusing) { m_refusing = refusing; }
    // How many answers were lost so far.
    int answersLost() const { return m_lost; }

private:
    struct Link;
    void acceptLoop();
    void relay(int client);
    // Called for each statement the program sends; true when its answer is to be lost.
    bool statementSent(const QByteArray& statement);

    int m_serverPort;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping { false };
    std::atomic<bool> m_refusing { false };
    std::atomic<int> m_lost { 0 };
    std::mutex m_mutex;
    QByteArray m_armedStatement;
    int m_armedCount = 0;
    bool m_cutNextCommit = false;
    bool m_cutArmedStatement = false;
    bool m_refuseAfterCut = false;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};

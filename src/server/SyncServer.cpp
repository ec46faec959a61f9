#include "server/SyncServer.h"

#include <asio/post.hpp>

#include "server/Passwords.h"
#include "server/ServerSession.h"

namespace pondrel::server {

SyncServer::SyncServer(asio::io_context& io, ServerStore& store, ServerLog& log,
                       ServerOptions options)
    : m_io(io),
      m_options(std::move(options)),
      m_protocol(store, log, m_options, *this),
      m_acceptor(io),
      m_unknownUserHash(HashPassword(u"not a password").value_or("")),
      m_verifiers(static_cast<size_t>(std::max(1, m_options.verifyThreads))) {}

SyncServer::~SyncServer() {
    m_verifiers.stop();
    m_verifiers.join();
}

bool SyncServer::Listen(std::string& error) {
    asio::error_code ec;
    asio::ip::address address = asio::ip::make_address(m_options.listenAddress, ec);
    if (ec) {
        error = "not an address: " + m_options.listenAddress;
        return false;
    }
    asio::ip::tcp::endpoint endpoint(address, static_cast<unsigned short>(m_options.port));
    m_acceptor.open(endpoint.protocol(), ec);
    if (!ec) m_acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true), ec);
    if (!ec) m_acceptor.bind(endpoint, ec);
    if (!ec) m_acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    Accept();
    return true;
}

asio::ip::tcp::endpoint SyncServer::Endpoint() const {
    asio::error_code ec;
    return m_acceptor.local_endpoint(ec);
}

void SyncServer::Stop() {
    asio::error_code ignored;
    m_acceptor.close(ignored);
    auto sessions = m_sessions;
    for (auto& [id, session] : sessions) session->Close("server stopping");
}

void SyncServer::Accept() {
    m_acceptor.async_accept([this](const asio::error_code& error, asio::ip::tcp::socket socket) {
        if (error == asio::error::operation_aborted || !m_acceptor.is_open()) return;
        if (!error) {
            auto session = std::make_shared<ServerSession>(std::move(socket), *this, m_nextId++);
            if (m_sessions.size() >= m_options.maxConnections) {
                session->Close("refused: too many connections");
            } else {
                m_sessions[session->Id()] = session;
                session->Start();
            }
        }
        Accept();
    });
}

void SyncServer::Forget(uint64_t sessionId) {
    auto it = m_sessions.find(sessionId);
    if (it == m_sessions.end()) return;
    // The session may be running this very call: let it go once the call returned.
    asio::post(m_io, [keep = it->second] {});
    m_sessions.erase(it);
}

void SyncServer::Check(std::string hash, std::u16string password, std::function<void(bool)> done) {
    bool known = !hash.empty();
    if (!known) hash = m_unknownUserHash;
    asio::post(m_verifiers, [this, known, hash = std::move(hash), password = std::move(password),
                             done = std::move(done)]() mutable {
        bool accepted = VerifyPassword(hash, password) && known;
        std::fill(password.begin(), password.end(), u'\0');
        asio::post(m_io, [done = std::move(done), accepted] { done(accepted); });
    });
}

}  // namespace pondrel::server

#include "server/SyncServer.h"

#include <sodium.h>

#include <asio/post.hpp>

#include "platform/Text.h"

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
      m_checkKey(crypto_generichash_KEYBYTES, '\0'),
      m_broadcast(io),
      m_verifiers(static_cast<size_t>(std::max(1, m_options.verifyThreads))) {
    randombytes_buf(m_checkKey.data(), m_checkKey.size());
    // Lists after changes go out together, at most every kListDelayMs.
    m_protocol.SetDeferral([this](std::function<void()> send) {
        m_broadcast.expires_after(std::chrono::milliseconds(kListDelayMs));
        m_broadcast.async_wait([send = std::move(send)](const asio::error_code& error) {
            if (!error) send();
        });
    });
}

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

std::string SyncServer::KeyedHash(std::u16string_view password) const {
    std::string utf8 = ToUtf8(password);
    std::string out(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(out.data()), out.size(),
                       reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(),
                       reinterpret_cast<const unsigned char*>(m_checkKey.data()),
                       m_checkKey.size());
    sodium_memzero(utf8.data(), utf8.size());
    return out;
}

void SyncServer::Check(std::string hash, std::u16string password, std::function<void(bool)> done) {
    bool known = !hash.empty();
    if (known) {
        auto checked = m_checked.find(hash);
        if (checked != m_checked.end() &&
            sodium_memcmp(checked->second.data(), KeyedHash(password).data(),
                          checked->second.size()) == 0) {
            asio::post(m_io, [done = std::move(done)] { done(true); });
            return;
        }
    }
    if (!known) hash = m_unknownUserHash;
    asio::post(m_verifiers, [this, known, hash = std::move(hash), password = std::move(password),
                             done = std::move(done)]() mutable {
        bool accepted = VerifyPassword(hash, password) && known;
        std::string keyed = accepted ? KeyedHash(password) : std::string();
        std::fill(password.begin(), password.end(), u'\0');
        asio::post(m_io, [this, done = std::move(done), accepted, hash = std::move(hash),
                          keyed = std::move(keyed)] {
            if (accepted) {
                if (m_checked.size() >= kMaxCheckedPasswords) m_checked.clear();
                m_checked[hash] = keyed;
            }
            done(accepted);
        });
    });
}

}  // namespace pondrel::server

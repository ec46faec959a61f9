#include "server/SyncServer.h"

#include <asio/post.hpp>

#include "platform/Text.h"

#include "server/Passwords.h"
#include "server/ServerLog.h"
#include "server/ServerSession.h"
#include "server/SessionBuffers.h"

namespace pondrel::server {

SyncServer::SyncServer(asio::io_context& io, ServerStore& store, ServerLog& log,
                       ServerOptions options)
    : m_io(io),
      m_log(log),
      m_options(std::move(options)),
      m_protocol(store, log, m_options, *this),
      m_acceptor(io),
      m_unknownUserHash(HashPassword(u"not a password").value_or("")),
      m_broadcast(io),
      m_acceptRetry(io),
      m_tick(io),
      m_verifiers(static_cast<size_t>(std::max(1, m_options.verifyThreads))) {
    // Lists after changes go out together, at most every kListDelayMs.
    m_protocol.SetDeferral([this](std::function<void()> send) {
        m_broadcast.expires_after(std::chrono::milliseconds(kListDelayMs));
        m_broadcast.async_wait([send = std::move(send)](const asio::error_code& error) {
            if (!error) send();
        });
    });
    m_protocol.SetTimer([this](std::chrono::milliseconds wait, std::function<void()> run) {
        auto timer = std::make_shared<asio::steady_timer>(m_io, wait);
        timer->async_wait([timer, run = std::move(run)](const asio::error_code& error) {
            if (!error) run();
        });
    });
}

SyncServer::~SyncServer() {
    m_verifiers.stop();
    m_verifiers.join();
}

bool SyncServer::Listen(std::string& error) {
    asio::error_code ec;
    if (!m_options.tlsCertificateFile.empty()) {
        auto tls = std::make_unique<asio::ssl::context>(asio::ssl::context::tls_server);
        SSL_CTX_set_min_proto_version(tls->native_handle(), TLS1_2_VERSION);
        tls->set_options(asio::ssl::context::default_workarounds |
                         asio::ssl::context::single_dh_use | SSL_OP_NO_RENEGOTIATION);
        tls->use_certificate_chain_file(m_options.tlsCertificateFile, ec);
        if (ec) {
            error =
                "cannot use the certificate " + m_options.tlsCertificateFile + ": " + ec.message();
            return false;
        }
        tls->use_private_key_file(m_options.tlsKeyFile, asio::ssl::context::pem, ec);
        if (!ec && SSL_CTX_check_private_key(tls->native_handle()) != 1) {
            ec = asio::error::invalid_argument;
        }
        if (ec) {
            error = "cannot use the key " + m_options.tlsKeyFile +
                    " with the certificate: " + ec.message();
            return false;
        }
        m_tls = std::move(tls);
    }
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
    ArmTick();
    return true;
}

void SyncServer::ArmTick() {
    m_tick.expires_after(std::chrono::seconds(1));
    m_tick.async_wait([this](const asio::error_code& error) {
        if (error || !m_acceptor.is_open()) return;
        m_protocol.OnTick();
        m_recent.Expire(std::chrono::steady_clock::now());
        if (++m_ticks % kGiveBackTicks == 0) GiveBackFreeMemory();
        ArmTick();
    });
}

asio::ip::tcp::endpoint SyncServer::Endpoint() const {
    asio::error_code ec;
    return m_acceptor.local_endpoint(ec);
}

void SyncServer::Stop() {
    asio::error_code ignored;
    m_acceptor.close(ignored);
    m_acceptRetry.cancel();
    m_tick.cancel();
    auto sessions = m_sessions;
    for (auto& [id, session] : sessions) session->Close("server stopping");
}

void SyncServer::Accept() {
    m_acceptor.async_accept([this](const asio::error_code& error, asio::ip::tcp::socket socket) {
        if (error == asio::error::operation_aborted || !m_acceptor.is_open()) return;
        if (error) {
            // Out of file descriptors (or memory): the waiting connection stays in the queue,
            // and accepting again at once would only spin. Try again a moment later.
            if (!m_acceptFailing) {
                m_log.Line("cannot accept connections: " + error.message() +
                           "; trying again every 100 ms");
            }
            m_acceptFailing = true;
            m_acceptRetry.expires_after(std::chrono::milliseconds(100));
            m_acceptRetry.async_wait([this](const asio::error_code& cancelled) {
                if (!cancelled && m_acceptor.is_open()) Accept();
            });
            return;
        }
        if (m_acceptFailing) {
            m_acceptFailing = false;
            m_log.Line("accepting connections again");
        }
        OnAccepted(std::move(socket));
        Accept();
    });
}

void SyncServer::OnAccepted(asio::ip::tcp::socket socket) {
    auto session = std::make_shared<ServerSession>(std::move(socket), *this, m_nextId++);
    if (!MakeRoom(session->Address())) {
        session->Close("refused: too many connections");
        return;
    }
    m_sessions[session->Id()] = session;
    session->Start();
}

bool SyncServer::MakeRoom(const std::string& address) {
    size_t fromAddress = 0;
    for (const auto& [id, session] : m_sessions) fromAddress += session->Address() == address;
    const bool addressFull = fromAddress >= m_options.maxConnectionsPerAddress;
    if (!addressFull && m_sessions.size() < m_options.maxConnections) return true;
    // The oldest connection not logged in goes (ids grow with age): silent sockets cannot
    // keep the users out.
    for (const auto& [id, session] : m_sessions) {
        if (session->GetState() == ClientLink::State::Online) continue;
        if (addressFull && session->Address() != address) continue;
        std::shared_ptr<ServerSession> oldest = session;
        oldest->Close(addressFull ? "dropped: the oldest connection not logged in of its address"
                                  : "dropped: the oldest connection not logged in");
        return true;
    }
    return false;
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
    if (known && m_recent.Matches(hash, password, std::chrono::steady_clock::now())) {
        std::fill(password.begin(), password.end(), u'\0');
        asio::post(m_io, [done = std::move(done)] { done(true); });
        return;
    }
    if (!known) hash = m_unknownUserHash;
    asio::post(m_verifiers, [this, known, hash = std::move(hash), password = std::move(password),
                             done = std::move(done)]() mutable {
        bool accepted = VerifyPassword(hash, password) && known;
        // The keyed hash is made here, off the network thread, like the check.
        std::string keyed = accepted ? m_recent.KeyedHash(password) : std::string();
        std::fill(password.begin(), password.end(), u'\0');
        asio::post(m_io, [this, done = std::move(done), accepted, hash = std::move(hash),
                          keyed = std::move(keyed)] {
            if (accepted) m_recent.Remember(hash, std::move(keyed), std::chrono::steady_clock::now());
            done(accepted);
        });
    });
}

bool SyncServer::Recent(const std::string& hash, std::u16string_view password) {
    return !hash.empty() && m_recent.Matches(hash, password, std::chrono::steady_clock::now());
}

void SyncServer::StillOnline(const std::string& hash) {
    m_recent.Touch(hash, std::chrono::steady_clock::now());
}

}  // namespace pondrel::server

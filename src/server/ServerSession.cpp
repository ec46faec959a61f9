#include "server/ServerSession.h"

#include <optional>
#include <utility>

#include <asio/post.hpp>
#include <asio/write.hpp>

#include "platform/Text.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/SessionBuffers.h"
#include "server/SyncServer.h"
#include "sync/FrameKind.h"
#include "sync/WireFormat.h"

namespace pondrel::server {

namespace {
constexpr auto kTickPeriod = std::chrono::seconds(1);
constexpr size_t kMaxWriteChunk = 1u << 20;  // bytes gathered into one write
constexpr size_t kMaxGathered = 64;          // frames whose room the write keeps
}  // namespace

ServerSession::ServerSession(asio::ip::tcp::socket socket, SyncServer& server, uint64_t id)
    : m_socket(std::move(socket)),
      m_tick(m_socket.get_executor()),
      m_server(server),
      m_options(server.Options()),
      m_id(id),
      m_buffer(kIdleReadBytes),
      m_splitter(server.Options().maxLoginFrameChars) {
    asio::error_code error;
    auto endpoint = m_socket.remote_endpoint(error);
    asio::ip::address address = endpoint.address();
    if (address.is_v6() && address.to_v6().is_v4_mapped()) {
        address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
    }
    m_address = error ? std::string("?") : address.to_string();
    m_peer = error ? std::string("?") : m_address + ":" + std::to_string(endpoint.port());
    m_started = m_lastReceived = m_lastKeepAlive = std::chrono::steady_clock::now();
    if (asio::ssl::context* tls = server.Tls()) {
        m_tls = std::make_unique<asio::ssl::stream<asio::ip::tcp::socket&>>(m_socket, *tls);
    }
}

std::string ServerSession::LogName() const {
    std::string name = "conn " + std::to_string(m_id) + " " + m_peer;
    if (!m_user.empty()) name += " " + LogText(m_user);
    return name;
}

void ServerSession::Start() {
    asio::error_code ignored;
    m_socket.set_option(asio::ip::tcp::no_delay(true), ignored);
    ArmTick();  // the handshake counts in the time to log in
    if (!m_tls) {
        Begin();
        return;
    }
    m_tls->async_handshake(
        asio::ssl::stream_base::server, [self = shared_from_this()](const asio::error_code& error) {
            if (self->m_state == State::Closed) return;
            if (error) {
                self->Close("refused: no TLS handshake (" + error.message() + ")");
                return;
            }
            self->Begin();
        });
}

void ServerSession::Begin() {
    m_server.Protocol().OnOpened(*this);
    if (IsOpen()) Read();
}

void ServerSession::SetOnline(std::u16string user) {
    m_user = std::move(user);
    m_state = State::Online;
    m_splitter.SetLimit(m_options.maxFrameChars);
    if (m_readPaused) {
        m_readPaused = false;
        Read();
    }
}

bool ServerSession::HoldFrame(std::u16string frame) {
    // Reading stops at maxHeldChars: beyond twice that the peer did not wait.
    m_heldChars += frame.size();
    if (m_held.size() >= m_options.maxHeldFrames || m_heldChars > 2 * m_options.maxHeldChars) {
        return false;
    }
    m_held.push_back(std::move(frame));
    return true;
}

std::deque<std::u16string> ServerSession::TakeHeldFrames() {
    m_heldChars = 0;
    return std::exchange(m_held, {});
}

void ServerSession::Read() {
    auto done = [self = shared_from_this()](const asio::error_code& error, size_t bytes) {
        self->OnRead(error, bytes);
    };
    if (m_tls) {
        m_tls->async_read_some(asio::buffer(m_buffer.data(), m_buffer.size()), std::move(done));
    } else {
        m_socket.async_read_some(asio::buffer(m_buffer.data(), m_buffer.size()), std::move(done));
    }
}

void ServerSession::OnRead(const asio::error_code& error, size_t bytes) {
    if (m_state == State::Closed) return;
    if (error) {
        Close(error == asio::error::eof || error == asio::ssl::error::stream_truncated
                  ? "closed by the client"
                  : error.message());
        return;
    }
    if (m_state == State::Closing) return;  // nothing more is read
    m_lastReceived = std::chrono::steady_clock::now();
    m_text.clear();
    m_decoder.Feed(std::string_view(m_buffer.data(), bytes), m_text);
    if (!m_splitter.Append(m_text)) {
        Close("refused: a frame longer than " +
              std::to_string(m_state == State::Online ? m_options.maxFrameChars
                                                      : m_options.maxLoginFrameChars) +
              " characters");
        return;
    }
    auto self = shared_from_this();  // alive while its frames are handled
    HandOver();
    if (!IsOpen()) return;
    // Between reads: the buffer is free to change.
    size_t next = NextReadBytes(m_buffer.size(), bytes, m_splitter.PendingChars(),
                                m_state == State::Online);
    if (next != m_buffer.size()) {
        m_buffer.resize(next);
        ReleaseRoom(m_buffer, next);
    }
    ShrinkWhenIdle(false);
    if (m_state == State::Verifying && m_heldChars >= m_options.maxHeldChars) {
        m_readPaused = true;  // until the log-in is checked
        return;
    }
    if (m_framesPaused && m_splitter.PendingChars() > 0) {
        // Until the change under way ended: what waits is at most one frame and one read.
        m_readPaused = true;
        return;
    }
    Read();
}

void ServerSession::ShrinkWhenIdle(bool bufferFree) {
    if (m_splitter.PendingChars() != 0) return;
    // Idle again: what a large frame needed goes back.
    m_text.clear();
    ReleaseRoom(m_text);
    m_splitter.ReleaseRoom(kKeptBufferBytes / sizeof(char16_t));
    if (bufferFree && m_buffer.size() != kIdleReadBytes) {
        m_buffer.resize(kIdleReadBytes);
        ReleaseRoom(m_buffer, kIdleReadBytes);
    }
}

void ServerSession::HandOver() {
    while (IsOpen() && !m_framesPaused) {
        std::optional<std::u16string> frame = m_splitter.Next();
        if (!frame) break;
        m_server.Protocol().OnFrame(*this, std::move(*frame));
    }
}

void ServerSession::ResumeFrames() {
    if (!m_framesPaused) return;
    m_framesPaused = false;
    // Later, not inside the protocol's call.
    asio::post(m_socket.get_executor(), [self = shared_from_this()] {
        if (!self->IsOpen() || self->m_framesPaused) return;
        self->HandOver();
        if (!self->IsOpen() || self->m_framesPaused) return;
        // The frames that waited were large (an upload): their room goes back.
        self->ShrinkWhenIdle(self->m_readPaused);
        if (self->m_readPaused && self->m_state == State::Online) {
            self->m_readPaused = false;
            self->Read();
        }
    });
}

uint64_t ServerSession::SendKeepAlive() {
    SendFrame(CodeFrame(u'K'));
    return ++m_keepAlives;
}

void ServerSession::SendFrame(std::u16string_view frame) {
    if (!IsOpen() && m_state != State::Closing) return;
    Queue(std::make_shared<const std::string>(WireFrame(frame)));
}

void ServerSession::SendWire(std::u16string_view frame,
                             const std::shared_ptr<const std::string>& wire) {
    if (!wire) {
        SendFrame(frame);
        return;
    }
    if (!IsOpen() && m_state != State::Closing) return;
    Queue(wire);
}

void ServerSession::Queue(std::shared_ptr<const std::string> bytes) {
    m_outBytes += bytes->size();
    m_out.push_back(std::move(bytes));
    if (m_outBytes > m_options.maxPendingWriteBytes) {
        Close("refused: the client does not read what is sent to it");
        return;
    }
    Write();
}

void ServerSession::Write() {
    if (!m_writing.empty() || m_out.empty() || m_state == State::Closed) return;
    // Frames gathered into one write, without copying them.
    while (!m_out.empty() && m_writingBytes < kMaxWriteChunk) {
        m_writingBytes += m_out.front()->size();
        m_gather.push_back(asio::buffer(*m_out.front()));
        m_writing.push_back(std::move(m_out.front()));
        m_out.pop_front();
    }
    auto done = [self = shared_from_this()](const asio::error_code& error, size_t) {
        if (self->m_state == State::Closed) return;
        self->m_outBytes -= self->m_writingBytes;
        self->m_writingBytes = 0;
        self->m_writing.clear();
        self->m_gather.clear();
        if (self->m_writing.capacity() > kMaxGathered) {
            self->m_writing.shrink_to_fit();
            self->m_gather.shrink_to_fit();
        }
        if (error) {
            self->Close(error.message());
        } else if (!self->m_out.empty()) {
            self->Write();
        } else if (self->m_state == State::Closing) {
            self->Close(self->m_closeReason);
        } else {
            self->m_server.Protocol().OnWritten(*self);
        }
    };
    if (m_tls) {
        asio::async_write(*m_tls, m_gather, std::move(done));
    } else {
        asio::async_write(m_socket, m_gather, std::move(done));
    }
}

void ServerSession::CloseAfterSending(std::string_view reason) {
    if (!IsOpen()) return;
    m_state = State::Closing;
    m_closeReason = reason;
    if (m_writing.empty() && m_out.empty()) Close(reason);
}

void ServerSession::Close(std::string_view reason) {
    if (m_state == State::Closed) return;
    m_state = State::Closed;
    asio::error_code ignored;
    m_tick.cancel();
    m_socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    m_socket.close(ignored);
    m_server.Protocol().OnClosed(*this, reason);
    m_server.Forget(m_id);
}

void ServerSession::ArmTick() {
    m_tick.expires_after(kTickPeriod);
    m_tick.async_wait([self = shared_from_this()](const asio::error_code& error) {
        if (!error) self->OnTick();
    });
}

void ServerSession::OnTick() {
    if (m_state == State::Closed) return;
    auto now = std::chrono::steady_clock::now();
    // Waiting for the password check counts too.
    if ((m_state == State::Identifying || m_state == State::Verifying) &&
        now - m_started > std::chrono::seconds(m_options.loginSeconds)) {
        Close("refused: no log-in in time");
        return;
    }
    if (now - m_lastReceived > std::chrono::seconds(m_options.idleSeconds)) {
        Close("silent for " + std::to_string(m_options.idleSeconds) + " s");
        return;
    }
    if (m_state == State::Online &&
        now - m_lastKeepAlive >= std::chrono::seconds(m_options.keepAliveSeconds)) {
        m_lastKeepAlive = now;
        SendKeepAlive();
    }
    ArmTick();
}

}  // namespace pondrel::server

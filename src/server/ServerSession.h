#pragma once

// One client connection of the server: reads and cuts frames, queues what is sent to the client,
// and enforces the limits of one connection (frame size, bytes waiting to be sent, time to log
// in, silence), so that one bad client cannot hurt the others. Lives on the server's network
// thread; shared so that pending operations keep it alive until they end.

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <asio/buffer.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/ssl/stream.hpp>
#include <asio/steady_timer.hpp>

#include "server/ClientLink.h"
#include "sync/FrameSplitter.h"
#include "sync/WireCodec.h"

namespace pondrel::server {

class SyncServer;
struct ServerOptions;

class ServerSession final : public ClientLink, public std::enable_shared_from_this<ServerSession> {
public:
    // `server` must outlive the session.
    ServerSession(asio::ip::tcp::socket socket, SyncServer& server, uint64_t id);

    void Start();

    uint64_t Id() const override { return m_id; }
    std::string LogName() const override;
    State GetState() const override { return m_state; }
    const std::u16string& User() const override { return m_user; }
    std::string Address() const override { return m_address; }
    void SendFrame(std::u16string_view frame) override;
    void SendWire(std::u16string_view frame,
                  const std::shared_ptr<const std::string>& wire) override;
    uint64_t SendKeepAlive() override;
    size_t PendingWriteBytes() const override { return m_outBytes; }
    void Close(std::string_view reason) override;
    void CloseAfterSending(std::string_view reason) override;
    void SetVerifying() override { m_state = State::Verifying; }
    void SetOnline(std::u16string user) override;
    bool HoldFrame(std::u16string frame) override;
    std::deque<std::u16string> TakeHeldFrames() override;
    void PauseFrames() override { m_framesPaused = true; }
    void ResumeFrames() override;

private:
    void Begin();
    void Read();
    void OnRead(const asio::error_code& error, size_t bytes);
    // Hands the frames received whole to the protocol until it pauses them.
    void HandOver();
    // Once no frame is under way, the room of large frames goes back; the read buffer's too when
    // no read is under way (`bufferFree`).
    void ShrinkWhenIdle(bool bufferFree);
    void Queue(std::shared_ptr<const std::string> bytes);
    void Write();
    void ArmTick();
    void OnTick();

    asio::ip::tcp::socket m_socket;
    // Over m_socket when the server encrypts its connections.
    std::unique_ptr<asio::ssl::stream<asio::ip::tcp::socket&>> m_tls;
    asio::steady_timer m_tick;
    SyncServer& m_server;
    const ServerOptions& m_options;
    const uint64_t m_id;
    std::string m_peer;
    std::string m_address;
    State m_state = State::Identifying;
    std::u16string m_user;
    std::string m_closeReason;

    std::vector<char> m_buffer;  // small until the log-in
    bool m_readPaused = false;
    bool m_framesPaused = false;  // a change of this connection runs in the store
    WireDecoder m_decoder;
    std::u16string m_text;  // the characters of the last receive, kept for its capacity
    FrameSplitter m_splitter;
    std::deque<std::u16string> m_held;
    size_t m_heldChars = 0;

    // Frames to send, each its bytes (some shared with other connections), and those of the
    // write under way with their buffers.
    std::deque<std::shared_ptr<const std::string>> m_out;
    std::vector<std::shared_ptr<const std::string>> m_writing;
    std::vector<asio::const_buffer> m_gather;
    size_t m_writingBytes = 0;
    size_t m_outBytes = 0;
    uint64_t m_keepAlives = 0;

    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastReceived;
    std::chrono::steady_clock::time_point m_lastKeepAlive;
};

}  // namespace pondrel::server

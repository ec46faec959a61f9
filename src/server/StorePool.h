#pragma once

// Runs the store's changes on a few threads, each with a store connection of its own, and hands
// each result back to the network thread (the io_context). Changes start in the order they came;
// those of different clients overlap, so that their commits share the waits for the disk.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <asio/io_context.hpp>

#include "server/ChangeRunner.h"

namespace pondrel::server {

class StorePool final : public ChangeRunner {
public:
    // Connections a server may open for its changes (the option --store-connections), and the
    // changes that may wait for one (each connection of a client has one at a time).
    static constexpr int kMaxConnections = 16;
    static constexpr size_t kMaxWaiting = 5000;
    // When the pool ends, changes under way get this long to end by themselves; then they are
    // interrupted (they fail and store nothing: a client that got no answer sends again).
    static constexpr auto kStopGrace = std::chrono::seconds(5);

    // One thread per store. `io` must outlive the pool; the done functions run on it.
    StorePool(asio::io_context& io, std::vector<std::unique_ptr<ServerStore>> stores);
    // The changes under way end (committed or not, as the store decides; interrupted after
    // kStopGrace); those still waiting never start, and no done function runs after this.
    // Destroyed on the io_context's thread, or while it does not run.
    ~StorePool() override;
    StorePool(const StorePool&) = delete;
    StorePool& operator=(const StorePool&) = delete;

    bool Run(Change change, Done done) override;
    size_t Size() const { return m_stores.size(); }

private:
    void Work(ServerStore& store, std::stop_token stop);

    asio::io_context& m_io;
    std::vector<std::unique_ptr<ServerStore>> m_stores;
    // The changes waiting for a thread, under m_mutex.
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::deque<std::pair<Change, Done>> m_waiting;
    size_t m_running = 0;  // changes under way
    std::condition_variable_any m_ended;
    // Read and written on the io_context's thread only: false once the pool is gone, so that a
    // result posted just before is dropped.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    std::vector<std::jthread> m_threads;  // last: stopped and joined first
};

}  // namespace pondrel::server

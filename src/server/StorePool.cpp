#include "server/StorePool.h"

#include <asio/post.hpp>

namespace pondrel::server {

StorePool::StorePool(asio::io_context& io, std::vector<std::unique_ptr<ServerStore>> stores)
    : m_io(io), m_stores(std::move(stores)) {
    m_threads.reserve(m_stores.size());
    for (auto& store : m_stores) {
        m_threads.emplace_back([this, &own = *store](std::stop_token stop) { Work(own, stop); });
    }
}

StorePool::~StorePool() {
    for (auto& thread : m_threads) thread.request_stop();
    {
        std::lock_guard lock(m_mutex);
        m_waiting.clear();
    }
    m_wake.notify_all();
    {
        std::unique_lock lock(m_mutex);
        auto until = std::chrono::steady_clock::now() + kStopGrace;
        while (m_running > 0) {
            if (m_ended.wait_until(lock, until, [&] { return m_running == 0; })) break;
            // A change that waits long (a row another server holds, a database out of reach):
            // asked again until it ends, as a request may come between two of its statements.
            lock.unlock();
            for (auto& store : m_stores) store->Interrupt();
            lock.lock();
            until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
        }
    }
    m_threads.clear();  // joins
    *m_alive = false;
}

bool StorePool::Run(Change change, Done done) {
    {
        std::lock_guard lock(m_mutex);
        if (m_waiting.size() >= kMaxWaiting || m_threads.empty()) return false;
        m_waiting.emplace_back(std::move(change), std::move(done));
    }
    m_wake.notify_one();
    return true;
}

void StorePool::Work(ServerStore& store, std::stop_token stop) {
    for (;;) {
        std::pair<Change, Done> next;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [&] { return !m_waiting.empty(); })) return;
            next = std::move(m_waiting.front());
            m_waiting.pop_front();
            ++m_running;
        }
        StoreResult result = next.first(store);
        next.first = nullptr;  // what the change held goes here, off the network thread
        {
            std::lock_guard lock(m_mutex);
            --m_running;
        }
        m_ended.notify_all();
        asio::post(m_io, [alive = m_alive, done = std::move(next.second), result] {
            if (*alive) done(result);
        });
    }
}

}  // namespace pondrel::server

#pragma once

// Where the store's changes run. A store of one connection runs them on the protocol's thread,
// one after the other; a store that several connections reach (PostgreSQL) runs them on a few
// threads of their own (StorePool), so that the commits of different clients overlap and the
// network thread never waits for the disk.

#include <functional>

#include "server/ServerStore.h"

namespace pondrel::server {

class ChangeRunner {
public:
    // One change: a single transaction of `store` (with its audit row). It runs on a thread of the
    // runner, with a store that no other change uses meanwhile; it must not touch the protocol.
    using Change = std::function<StoreResult(ServerStore& store)>;
    // Runs on the protocol's thread once the change ended, with its result.
    using Done = std::function<void(StoreResult)>;

    virtual ~ChangeRunner() = default;
    // Queues `change`; false when too many wait already (nothing runs, `done` is not called).
    virtual bool Run(Change change, Done done) = 0;
};

}  // namespace pondrel::server

#pragma once

// What one server instance tells the others that share its store: frames for a user connected to
// another instance (mail, reports and receipts, release requests, wakes, notices), chat lines for
// everybody, and who is logged in where. An instance alone (the SQLite store) has nobody to tell:
// this base class does nothing, and every user is either online here or offline.

#include <string>
#include <vector>

namespace pondrel::server {

class InstanceBus {
public:
    // What the bus hands to the protocol of its instance; runs on the network thread.
    class Listener {
    public:
        virtual ~Listener() = default;
        // A frame for `user`: sent if he is online here; otherwise, when `keep` is set (a report
        // or a receipt), kept for his next log-in under `code`.
        virtual void OnBusFrame(const std::u16string& user, const std::u16string& code,
                                const std::u16string& frame, bool keep) = 0;
        // A chat line from a user of another instance, for everybody online here.
        virtual void OnBusChat(const std::u16string& frame) = 0;
        // The users online at other instances changed: the online-user list goes out again.
        virtual void OnBusUsers() = 0;
        // `user`, online here, logged in again at another instance later: this connection ends.
        virtual void OnBusReplaced(const std::u16string& user) = 0;
    };

    virtual ~InstanceBus() = default;

    void SetListener(Listener* listener) { m_listener = listener; }

    // A user logged in here (again: a new connection replaced his earlier one) or left.
    virtual void LoggedIn(const std::u16string& /*user*/) {}
    virtual void LoggedOut(const std::u16string& /*user*/) {}
    // Users online at other instances, sorted.
    virtual std::vector<std::u16string> UsersElsewhere() { return {}; }
    virtual bool OnlineElsewhere(const std::u16string& /*user*/) { return false; }
    // Passes `frame` to the instance where `user` is online; false when he is online at none,
    // when the frame is too long to pass, or when `from` sent too much across lately (the caller
    // then keeps it, or tells its sender, as for a user who is offline).
    virtual bool SendTo(const std::u16string& /*from*/, const std::u16string& /*user*/,
                        const std::u16string& /*code*/, const std::u16string& /*frame*/,
                        bool /*keep*/) {
        return false;
    }
    // A chat line of `from` for the users of every other instance.
    virtual void Chat(const std::u16string& /*from*/, const std::u16string& /*frame*/) {}
    // Every second: the instance tells it is alive and drops the users of instances that are not.
    virtual void Tick() {}

protected:
    Listener* m_listener = nullptr;
};

}  // namespace pondrel::server

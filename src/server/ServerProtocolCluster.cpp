// ServerProtocol with the other instances that share its store: frames for their users go
// through the bus, theirs for users here come back from it, and the list of users online covers
// all instances.

#include <set>

#include "platform/Text.h"
#include "server/ServerLog.h"
#include "server/ServerProtocol.h"
#include "sync/FrameKind.h"

namespace pondrel::server {

void ServerProtocol::SetBus(InstanceBus& bus) {
    m_bus = &bus;
    m_bus->SetListener(this);
}

std::u16string ServerProtocol::UserNames() {
    std::vector<std::u16string> elsewhere = m_bus->UsersElsewhere();
    std::u16string names;
    if (elsewhere.empty()) {
        for (const auto& [user, link] : m_online) names += user + u"|";
        return names;
    }
    std::set<std::u16string> all(elsewhere.begin(), elsewhere.end());
    for (const auto& [user, link] : m_online) all.insert(user);
    for (const std::u16string& user : all) names += user + u"|";
    return names;
}

bool ServerProtocol::PassOn(const std::u16string& from, const std::u16string& user,
                            const std::u16string& frame) {
    if (ClientLink* link = LinkOf(user)) {
        link->SendFrame(frame);
        return true;
    }
    return m_bus->SendTo(from, user, {}, frame, false);
}

void ServerProtocol::OnBusFrame(const std::u16string& user, const std::u16string& code,
                                const std::u16string& frame, bool keep) {
    if (ClientLink* link = LinkOf(user)) {
        link->SendFrame(frame);
    } else if (keep) {
        // Gone meanwhile: the report waits for his next log-in, as for any user offline.
        m_store.QueueNote(user, code, frame, Now());
    }
}

void ServerProtocol::OnBusChat(const std::u16string& frame) {
    // Only chat lines pass as chat: the bus carries nothing else to everybody.
    FrameView view = ClassifyFrame(frame);
    if (view.kind != FrameKind::Code || view.code != u'A') return;
    auto online = m_online;  // a send may close a connection
    for (const auto& [user, link] : online) {
        if (LinkOf(user) == link) link->SendFrame(frame);
    }
}

void ServerProtocol::OnBusUsers() {
    UsersChanged();
}

void ServerProtocol::OnBusReplaced(const std::u16string& user) {
    ClientLink* earlier = LinkOf(user);
    if (!earlier) return;
    // As for a second log-in here: the new connection wins.
    m_online.erase(user);
    earlier->SendFrame(CodeFrame(u'L'));
    earlier->CloseAfterSending("replaced by a new log-in of the same user at another server");
    UsersChanged();
}

}  // namespace pondrel::server

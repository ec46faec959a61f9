// The file operations of ServerProtocol: upload, import, locks, forced unlock, archive and
// activate. Each change is one transaction of the store (with its audit row), then everybody
// online gets the new list. With a runner of changes, the transaction runs on its thread and the
// connection's later frames wait until it ended: a client's changes keep their order, those of
// different clients overlap.

#include <algorithm>

#include "platform/Text.h"
#include "server/ServerLog.h"
#include "server/ServerOptions.h"
#include "server/ServerProtocol.h"
#include "sync/FrameKind.h"
#include "sync/WireFormat.h"
#include "sync/WireNames.h"

namespace pondrel::server {

namespace {

// The decimal value of a text of digits only, or -1.
long long Decimal(std::u16string_view text) {
    if (text.empty() || text.size() > 12) return -1;
    long long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace

void ServerProtocol::RunChange(ClientLink& link, ChangeRunner::Change change, ChangeDone done) {
    if (!m_changes) {
        done(change(m_store), &link);
        return;
    }
    uint64_t id = link.Id();
    auto ended = [this, id, done](StoreResult result) {
        m_changing.erase(id);
        auto found = m_links.find(id);
        done(result, found == m_links.end() ? nullptr : found->second);
        ChangeEnded(id);
    };
    m_changing.insert(id);
    link.PauseFrames();
    if (!m_changes->Run(std::move(change), ended)) {
        m_log.Line(link.LogName() + ": too many changes waiting for the store");
        ended(StoreResult::Failed);
    }
}

bool ServerProtocol::WaitsForChange(ClientLink& link, std::u16string& frame) {
    if (m_changing.count(link.Id()) == 0) return false;
    // A connection hands over at most what one read brought while it waits.
    WaitingFrames& waiting = m_waitingFrames[link.Id()];
    waiting.chars += frame.size();
    if (waiting.frames.size() >= m_options.maxHeldFrames ||
        waiting.chars > m_options.maxFrameChars + 2 * m_options.maxHeldChars) {
        m_waitingFrames.erase(link.Id());
        link.Close("refused: too much sent while a change was under way");
        return true;
    }
    waiting.frames.push_back(std::move(frame));
    return true;
}

void ServerProtocol::ChangeEnded(uint64_t id) {
    for (;;) {
        auto found = m_links.find(id);
        if (found == m_links.end()) {
            m_waitingFrames.erase(id);
            return;
        }
        ClientLink& link = *found->second;
        if (!link.IsOpen() || link.GetState() != ClientLink::State::Online) return;
        if (m_changing.count(id) > 0) return;  // the next change holds the rest
        auto waiting = m_waitingFrames.find(id);
        if (waiting == m_waitingFrames.end() || waiting->second.frames.empty()) {
            m_waitingFrames.erase(id);
            link.ResumeFrames();
            return;
        }
        std::u16string frame = std::move(waiting->second.frames.front());
        waiting->second.frames.pop_front();
        waiting->second.chars -= frame.size();
        Handle(link, frame);
    }
}

void ServerProtocol::FilesChanged(std::optional<std::u16string_view> name) {
    m_activeList.reset();
    m_activeListWire.reset();
    ++m_listVersion;
    if (m_activeFiles) {
        // One row read again instead of the whole list, when the file keeps its place.
        std::optional<FileEntry> changed;
        if (name) changed = m_store.ActiveFile(*name);
        auto kept = changed
                        ? std::find_if(m_activeFiles->begin(), m_activeFiles->end(),
                                       [&](const FileEntry& e) { return e.name == changed->name; })
                        : m_activeFiles->end();
        if (kept != m_activeFiles->end()) {
            *kept = std::move(*changed);
        } else {
            m_activeFiles.reset();
        }
    }
    m_filesDue = true;
    ListsDue();
}

void ServerProtocol::UsersChanged(ClientLink* first) {
    ++m_usersVersion;
    if (first) {
        m_usersVersionSent[first->Id()] = m_usersVersion;
        first->SendFrame(CodeFrame(u'S', UserNames()));
    }
    m_usersDue = true;
    ListsDue();
}

void ServerProtocol::ListsDue() {
    if (!m_later) {
        SendDueLists();
    } else if (!m_listsDue) {
        m_listsDue = true;
        m_later([this] { SendDueLists(); });
    }
}

std::chrono::milliseconds ServerProtocol::UsersListSpacing(size_t online) {
    if (online < kUsersListSpacedFrom) return std::chrono::milliseconds(0);
    return std::min(kUsersListSpacingMost,
                    kUsersListSpacingPerUser * static_cast<std::chrono::milliseconds::rep>(online));
}

void ServerProtocol::SendDueLists() {
    const bool files = m_filesDue;
    const auto now = std::chrono::steady_clock::now();
    // With many users online the list of users is long and goes to every one of them: it goes
    // out less often, so that a wave of log-ins sends a bounded number of bytes per second.
    const bool users = m_usersDue && (!m_later || now >= m_usersNextSend);
    m_listsDue = m_filesDue = false;
    if (users) {
        m_usersDue = false;
        m_usersNextSend = now + UsersListSpacing(m_online.size());
    }
    std::u16string usersFrame;
    std::shared_ptr<const std::string> usersWire;
    auto online = m_online;  // a send may close a connection
    for (const auto& [user, link] : online) {
        if (LinkOf(user) != link) continue;
        // One that got the list since the last change (by asking, or at his log-in) has it.
        auto sent = m_listVersionSent.find(link->Id());
        if (files && (sent == m_listVersionSent.end() || sent->second != m_listVersion)) {
            SendActiveList(*link);
        }
        if (!users || !link->IsOpen()) continue;
        auto usersSent = m_usersVersionSent.find(link->Id());
        if (usersSent != m_usersVersionSent.end() && usersSent->second == m_usersVersion) {
            continue;
        }
        if (!usersWire) {
            // Encoded once for everybody.
            usersFrame = CodeFrame(u'S', UserNames());
            usersWire = std::make_shared<const std::string>(WireFrame(usersFrame));
        }
        m_usersVersionSent[link->Id()] = m_usersVersion;
        link->SendWire(usersFrame, usersWire);
    }
    if (m_usersDue) ListsDue();  // its turn comes later
}

void ServerProtocol::Upload(ClientLink& link, std::u16string_view payload) {
    // text "§Code§" "¦" code "¢" name "¢" "Synch¢"
    size_t mark = payload.find(kFileCodeMark);
    std::u16string_view text = payload.substr(0, mark);
    std::u16string_view rest =
        mark == std::u16string_view::npos ? u"" : payload.substr(mark + kFileCodeMark.size());
    size_t codeEnd = rest.find(kFieldSep);
    if (rest.empty() || rest[0] != kCodeSep || codeEnd == std::u16string_view::npos) {
        m_log.Line(link.LogName() + ": refused an upload without its code");
        return;
    }
    std::u16string code(rest.substr(1, codeEnd - 1));
    size_t nameEnd = rest.find(kFieldSep, codeEnd + 1);
    std::u16string name(rest.substr(codeEnd + 1, nameEnd == std::u16string_view::npos
                                                     ? std::u16string_view::npos
                                                     : nameEnd - codeEnd - 1));
    auto reply = [code](ClientLink& to, char16_t result) {
        std::u16string answer(1, result);
        answer += kCodeSep;
        answer += code;
        answer += kItemSep;
        to.SendFrame(CodeFrame(u'D', answer));
    };
    // The code's length part counts "¢File¢" and the text: a shorter text was cut on its way.
    long long length = Decimal(std::u16string_view(code).substr(0, code.find(kNameSep)));
    if (!IsMessageCode(code) ||
        length != static_cast<long long>(kFileFrameStart.size() + text.size())) {
        m_log.Line(link.LogName() + ": upload of " + LogText(name) + " damaged on its way");
        reply(link, u'L');
        return;
    }
    if (!IsPatientFileName(name) || text.size() > kMaxFileChars) {
        m_log.Line(link.LogName() + ": refused the upload of " + LogText(name));
        reply(link, u'E');
        return;
    }
    // An empty text is never a patient file: it would wipe the stored one.
    if (text.empty()) {
        m_log.Line(link.LogName() + ": refused an empty upload of " + LogText(name));
        reply(link, u'E');
        return;
    }
    if (!m_store.ActiveFile(WithoutExtension(name))) {
        bool full = m_store.ActiveFileCount() >= kMaxActiveFiles;
        if (full || m_store.ActiveFilesCreatedBy(link.User()) >= kMaxFilesPerUser) {
            m_log.Line(link.LogName() + ": refused the new file " + LogText(name) +
                       (full ? ": the server holds its most active files"
                             : ": this user sent his most files"));
            reply(link, u'E');
            Tell(link, full ? u"The server holds too many active files: archive some first"
                            : u"You have sent too many files to the server: archive some first");
            return;
        }
    }
    std::u16string stem(WithoutExtension(name));
    // The text's digest for the audit row is made with the transaction, on its thread.
    RunChange(
        link,
        [user = link.User(), stem, text = std::u16string(text), when = Now()](ServerStore& store) {
            return store.Upload(user, stem, text, when);
        },
        [this, logName = link.LogName(), name, stem, size = text.size(), reply](
            StoreResult result, ClientLink* to) {
            switch (result) {
                case StoreResult::Ok:
                    m_log.Line(logName + ": stored " + LogText(name) + " (" +
                               std::to_string(size) + " characters)");
                    if (to) reply(*to, u'O');
                    FilesChanged(stem);
                    break;
                case StoreResult::Refused:
                    // Never last-write-wins: only the holder of the lock (or the first to send a
                    // file the server does not know) changes a file.
                    m_log.Line(logName + ": refused the upload of " + LogText(name) +
                               ": not held by this user");
                    if (to) reply(*to, u'U');
                    break;
                case StoreResult::Failed:
                    m_log.Line(logName + ": could not store " + LogText(name));
                    if (to) reply(*to, u'E');
                    break;
            }
        });
}

void ServerProtocol::SendFile(ClientLink& link, std::u16string_view fileName) {
    if (!IsPatientFileName(fileName)) {
        m_log.Line(link.LogName() + ": refused an import of " + LogText(fileName));
        Tell(link, u"Import refused: not a patient file name");
        return;
    }
    std::u16string stem(WithoutExtension(fileName));
    // Read with its audit row ("import"): a change too.
    auto text = std::make_shared<std::optional<std::u16string>>();
    RunChange(
        link,
        [text, user = link.User(), stem, when = Now()](ServerStore& store) {
            *text = store.ImportFile(user, stem, when);
            return *text ? StoreResult::Ok : StoreResult::Failed;
        },
        [this, text, logName = link.LogName(), fileName = std::u16string(fileName), stem](
            StoreResult, ClientLink* to) {
            if (!to) return;
            if (!*text) {
                bool known = m_store.ActiveFile(stem).has_value();
                if (known) m_log.Line(logName + ": could not read " + LogText(fileName));
                Tell(*to, known ? u"The server could not read the file " + stem
                                : u"The file " + stem +
                                      u" is not among the active files of the server");
                return;
            }
            std::u16string frame(kFileFrameStart);
            frame += **text;
            frame += kFileCodeMark;
            frame += ToText(static_cast<long long>((*text)->size()));
            frame += kFieldSep;
            frame += fileName;
            text->reset();
            to->SendFrame(frame);
        });
}

void ServerProtocol::LockOrUnlock(ClientLink& link, std::u16string_view payload) {
    // "L¢name.pdr" or "U¢name.pdr"
    const bool lock = !payload.empty() && payload[0] == u'L';
    if (payload.size() < 3 || payload[1] != kFieldSep || (!lock && payload[0] != u'U') ||
        !IsPatientFileName(payload.substr(2))) {
        Refuse(link, payload, "not a lock or unlock of a patient file");
        Tell(link, lock ? u"Lock refused: not a patient file name"
                        : u"Unlock refused: not a patient file name");
        return;
    }
    std::u16string name(payload.substr(2));
    std::u16string stem(WithoutExtension(name));
    RunChange(
        link,
        [lock, user = link.User(), stem, when = Now()](ServerStore& store) {
            return lock ? store.Lock(user, stem, when) : store.Unlock(user, stem, when);
        },
        [this, lock, logName = link.LogName(), name, stem](StoreResult result, ClientLink* to) {
            if (result == StoreResult::Ok) {
                m_log.Line(logName + (lock ? ": locked " : ": unlocked ") + LogText(name));
                FilesChanged(stem);
                return;
            }
            if (!to) return;
            std::optional<FileEntry> entry = m_store.ActiveFile(stem);
            std::u16string why = !entry ? u" is not among the active files of the server"
                                 : entry->holder.empty() ? u" is not locked"
                                                         : u" is held by " + entry->holder;
            Tell(*to, (lock ? u"Lock refused: " : u"Unlock refused: ") + stem + why);
        });
}

void ServerProtocol::ForceUnlock(ClientLink& link, std::u16string_view name) {
    std::optional<FileEntry> entry = m_store.ActiveFile(name);
    if (!entry) {
        Tell(link, u"Nothing to unlock: " + std::u16string(name));
        return;
    }
    RunChange(
        link,
        [user = link.User(), stem = std::u16string(name), when = Now()](ServerStore& store) {
            return store.ForceUnlock(user, stem, when);
        },
        [this, user = link.User(), logName = link.LogName(), name = std::u16string(name),
         entry = std::move(*entry)](StoreResult result, ClientLink* to) {
            if (result != StoreResult::Ok) {
                if (to) Tell(*to, u"Nothing to unlock: " + name);
                return;
            }
            m_log.Line(logName + ": forced the unlocking of " + LogText(name) + " held by " +
                       LogText(entry.holder));
            PassOn(user, entry.holder,
                   NoticeFrame(u"Your lock of " + entry.name + u" was taken off by " + user));
            FilesChanged(entry.name);
        });
}

void ServerProtocol::ArchiveOrActivate(ClientLink& link, bool archive,
                                       std::u16string_view payload) {
    // Archive names the file with its extension, activate as the archive list has it.
    std::u16string name(payload);
    if (!IsPatientFileName(name)) name += u".pdr";
    if (!IsPatientFileName(name)) {
        Refuse(link, payload, "not a patient file");
        Tell(link, archive ? u"Not archived: not a patient file name"
                           : u"Not activated: not a patient file name");
        return;
    }
    std::u16string stem(WithoutExtension(name));
    if (!archive && m_store.ActiveFileCount() >= kMaxActiveFiles) {
        m_log.Line(link.LogName() + ": refused to activate " + LogText(stem) +
                   ": the server holds its most active files");
        Tell(link, u"Not activated: the server holds too many active files");
        return;
    }
    RunChange(
        link,
        [archive, user = link.User(), stem, when = Now()](ServerStore& store) {
            return archive ? store.Archive(user, stem, when) : store.Activate(user, stem, when);
        },
        [this, archive, logName = link.LogName(), stem](StoreResult result, ClientLink* to) {
            if (result != StoreResult::Ok) {
                if (to) Tell(*to, (archive ? u"Not archived: " : u"Not activated: ") + stem);
                return;
            }
            m_log.Line(logName + (archive ? ": archived " : ": activated ") + LogText(stem));
            FilesChanged();
        });
}

}  // namespace pondrel::server

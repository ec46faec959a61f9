#pragma once

// A listener that writes down every call as one line ("ActiveList:payload"), for the tests of the
// frames and the connection.

#include <string>
#include <vector>

#include "platform/Text.h"
#include "sync/SyncListener.h"

namespace pondrel::test {

class RecordingListener : public SyncListener {
public:
    void OnConnectCommand() override { Add(u"ConnectCommand"); }
    void OnConnectionStarted() override { Add(u"Started"); }
    void OnWentOnline() override { Add(u"Online"); }
    void OnDisconnected() override { Add(u"Disconnected"); }
    void OnOnlineUsers(const std::vector<std::u16string>& users) override {
        std::u16string line = u"Users:";
        for (const auto& user : users) line += user + u",";
        Add(line);
    }
    void OnSynchAll() override { Add(u"SynchAll"); }
    void OnDeliveryReports(std::u16string_view p) override { Add(u"Reports:", p); }
    void OnReadReceipt(std::u16string_view p) override { Add(u"Receipt:", p); }
    void OnChatLine(std::u16string_view p) override { Add(u"Chat:", p); }
    void OnMailReceived(const ReceivedMail& m) override {
        Add(u"Mail:" + m.sender + u"|" + m.text + u"|" + m.sentDate + u"|" + m.sentTime + u"|" +
            m.code + (m.lengthMatches ? u"|ok" : u"|bad"));
    }
    void OnUploadResult(std::u16string_view p) override { Add(u"Upload:", p); }
    void OnActiveList(std::u16string_view p) override { Add(u"Active:", p); }
    void OnArchiveList(std::u16string_view p) override { Add(u"Archive:", p); }
    void OnReleaseRequest(std::u16string_view p) override { Add(u"Release:", p); }
    void OnImportBatchEnd() override { Add(u"ImportEnd"); }
    void OnFileReceived(std::u16string_view name, std::u16string_view text) override {
        Add(u"File:" + std::u16string(name) + u"=" + std::u16string(text));
    }
    void OnFileAltered(std::u16string_view name) override { Add(u"Altered:", name); }
    void OnBatchEnd() override { ++batches; }

    // The calls as UTF-8 lines, for readable failures.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const auto& call : calls) lines.push_back(ToUtf8(call));
        return lines;
    }
    bool Has(std::u16string_view line) const {
        for (const auto& call : calls) {
            if (call == line) return true;
        }
        return false;
    }

    std::vector<std::u16string> calls;
    int batches = 0;

private:
    void Add(std::u16string line) { calls.push_back(std::move(line)); }
    void Add(std::u16string_view head, std::u16string_view tail) {
        calls.push_back(std::u16string(head) + std::u16string(tail));
    }
};

}  // namespace pondrel::test

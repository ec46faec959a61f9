#include "sync/FrameDispatcher.h"

#include <algorithm>
#include <optional>

#include "platform/Clock.h"
#include "platform/Text.h"
#include "sync/FrameKind.h"
#include "sync/WireDateTime.h"
#include "sync/WireFormat.h"

namespace pondrel {

namespace {

// The decimal value of a text made of digits only; none for anything else.
std::optional<long long> Decimal(std::u16string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    long long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

std::u16string_view Field(std::u16string_view text, size_t& at, char16_t end) {
    size_t stop = text.find(end, at);
    if (stop == std::u16string_view::npos) stop = text.size();
    std::u16string_view field = text.substr(at, stop - at);
    at = stop < text.size() ? stop + 1 : stop;
    return field;
}

}  // namespace

std::vector<std::u16string> ParseUserList(std::u16string_view payload) {
    std::vector<std::u16string> users;
    for (std::u16string& name : Split(payload, kNameSep)) {
        if (!name.empty()) users.push_back(std::move(name));
    }
    return users;
}

FrameDispatcher::FrameDispatcher(FrameActions& actions, SyncListener& listener, Clock& clock)
    : m_actions(actions), m_listener(&listener), m_clock(clock) {}

bool FrameDispatcher::HandleFrame(std::u16string_view frame) {
    FrameView view = ClassifyFrame(frame);
    switch (view.kind) {
        case FrameKind::File:
            HandleFile(view.payload);
            return true;
        case FrameKind::Mail:
            HandleMail(frame);
            return true;
        case FrameKind::Code:
            return HandleCode(view.code, view.payload);
    }
    return true;
}

bool FrameDispatcher::HandleCode(char16_t code, std::u16string_view payload) {
    switch (code) {
        case u'L':
            m_actions.EndConnection();
            return false;
        case u'P':
            m_actions.Notice(u"Password not accepted by the server. Connection aborted.", 3000,
                             true);
            m_actions.EndConnection();
            return false;
        case u'S':
            m_actions.OnlineUsersReceived(ParseUserList(payload));
            break;
        case u'K':
            m_actions.KeepAliveReceived();
            m_actions.QueueFrame(CodeFrame(u'Y'));
            break;
        case u'O':
            if (auto seconds = Decimal(payload)) {
                m_actions.ServerTimeoutReceived(static_cast<int>(
                    std::clamp<long long>(*seconds, kMinServerTimeout, kMaxServerTimeout)));
            }
            break;
        case u'J':
            HandleNotice(payload);
            break;
        case u'C':
            m_listener->OnDeliveryReports(payload);
            break;
        case u'R':
            m_listener->OnReadReceipt(payload);
            break;
        case u'A':
            m_listener->OnChatLine(payload);
            break;
        case u'D':
            m_listener->OnUploadResult(payload);
            break;
        case u'N':
            m_listener->OnActiveList(payload);
            break;
        case u'B':
            m_listener->OnArchiveList(payload);
            break;
        case u'V':
            m_listener->OnReleaseRequest(payload);
            break;
        case u'X':
            if (payload == u"1") m_listener->OnImportBatchEnd();
            break;
        case u'Z':
            if (payload == u"1a") m_actions.QueueFrame(CodeFrame(u'Z', u"1b"));
            break;
        default:
            break;  // an empty frame, or a code the program does not know
    }
    return true;
}

void FrameDispatcher::HandleNotice(std::u16string_view payload) {
    size_t at = 0;
    std::u16string text(Field(payload, at, kFieldSep));
    auto milliseconds = Decimal(Field(payload, at, kFieldSep));
    std::u16string_view warning = Field(payload, at, kFieldSep);
    if (text.empty()) return;
    if (text.size() > kMaxNoticeChars) text.resize(kMaxNoticeChars);
    int ms = static_cast<int>(
        std::clamp<long long>(milliseconds.value_or(kMinNoticeMs), kMinNoticeMs, kMaxNoticeMs));
    m_actions.Notice(text, ms, ParseInt(warning) != 0);
}

void FrameDispatcher::HandleMail(std::u16string_view frame) {
    size_t textEnd = frame.find(kTextEnd);
    std::u16string_view text = frame.substr(0, textEnd);
    if (textEnd == std::u16string_view::npos ||
        text.find_first_of(u"\u00A2|\u00A6#") != std::u16string_view::npos) {
        // Only this frame is dropped; the frames after it are still handled.
        m_actions.Notice(u"Receive bad transmission", 4000, true);
        return;
    }
    ReceivedMail mail;
    mail.text = text;
    std::u16string_view rest = frame.substr(textEnd + 1);
    size_t dash = rest.find(u'-');
    size_t codeMark = rest.find(kCodeSep);
    if (dash != std::u16string_view::npos && dash < codeMark) {
        mail.sentDate = rest.substr(0, dash);
        mail.sentTime =
            rest.substr(dash + 1, codeMark == std::u16string_view::npos ? std::u16string_view::npos
                                                                        : codeMark - dash - 1);
    }
    if (codeMark != std::u16string_view::npos) {
        size_t at = codeMark + 1;
        mail.code = Field(rest, at, kFieldSep);
        mail.sender = Field(rest, at, kFieldSep);
    }
    size_t bar = mail.code.find(kNameSep);
    auto length = Decimal(std::u16string_view(mail.code).substr(0, bar));
    mail.lengthMatches = length && *length == static_cast<long long>(mail.text.size());

    DateTime now = m_clock.Now();
    m_acknowledgements += mail.lengthMatches ? u"S\u00A6" : u"L\u00A6";
    m_acknowledgements += mail.code;
    m_acknowledgements += u'[';
    m_acknowledgements += WireDate(now);
    m_acknowledgements += u'-';
    m_acknowledgements += WireTime(now);
    m_acknowledgements += u"]/";
    m_listener->OnMailReceived(mail);
}

void FrameDispatcher::HandleFile(std::u16string_view payload) {
    size_t mark = payload.find(kFileCodeMark);
    if (mark == std::u16string_view::npos) {
        m_listener->OnFileAltered({});
        return;
    }
    std::u16string_view text = payload.substr(0, mark);
    size_t at = mark + kFileCodeMark.size();
    std::u16string_view lengthField = Field(payload, at, kFieldSep);
    std::u16string_view name = payload.substr(at);
    auto length = Decimal(lengthField);
    if (length && *length == static_cast<long long>(text.size())) {
        m_listener->OnFileReceived(name, text);
    } else {
        m_listener->OnFileAltered(name);
    }
}

}  // namespace pondrel

#include "server/BusMessage.h"

#include <sodium.h>

#include <algorithm>
#include <charconv>
#include <vector>

#include "server/StoreText.h"

namespace pondrel::server {

namespace {

constexpr size_t kMaxPayloadBytes = 7999;  // PostgreSQL refuses 8000 and more
constexpr size_t kMaxInstanceChars = 64;
constexpr size_t kMaxNameChars = 200;
constexpr size_t kMaxCodeChars = 40;
constexpr int kVariant = sodium_base64_VARIANT_ORIGINAL;

std::string Base64(std::u16string_view units) {
    std::string bytes = UnitsToBytes(units);
    std::string out(sodium_base64_encoded_len(bytes.size(), kVariant), '\0');
    sodium_bin2base64(out.data(), out.size(), reinterpret_cast<const unsigned char*>(bytes.data()),
                      bytes.size(), kVariant);
    out.pop_back();  // its closing zero
    return out;
}

std::optional<std::u16string> FromBase64(std::string_view text, size_t maxChars) {
    if (text.size() > 4 * (2 * maxChars / 3 + 1) + 4) return std::nullopt;
    std::string bytes(text.size() / 4 * 3 + 3, '\0');
    size_t length = 0;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(),
                          text.data(), text.size(), nullptr, &length, nullptr, kVariant) != 0 ||
        length % 2 != 0 || length / 2 > maxChars) {
        return std::nullopt;
    }
    bytes.resize(length);
    return BytesToUnits(bytes);
}

bool IsInstanceId(std::string_view id) {
    return !id.empty() && id.size() <= kMaxInstanceChars &&
           std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-';
           });
}

std::vector<std::string_view> Fields(std::string_view payload) {
    std::vector<std::string_view> fields;
    while (true) {
        size_t space = payload.find(' ');
        fields.push_back(payload.substr(0, space));
        if (space == std::string_view::npos) return fields;
        payload.remove_prefix(space + 1);
    }
}

}  // namespace

std::optional<std::string> BusMessage::Encode() const {
    if (frame.size() > kMaxBusFrameChars || user.size() > kMaxNameChars ||
        code.size() > kMaxCodeChars || !IsInstanceId(instance)) {
        return std::nullopt;
    }
    std::string out(1, static_cast<char>(kind));
    out += ' ';
    out += instance;
    switch (kind) {
        case Kind::Frame:
            if (!IsInstanceId(target)) return std::nullopt;
            out += ' ' + target + ' ' + Base64(user) + ' ' + Base64(code) + ' ' + Base64(frame) +
                   (keep ? " 1" : " 0");
            break;
        case Kind::Chat:
            out += ' ' + Base64(frame);
            break;
        case Kind::LoggedIn:
            out += ' ' + Base64(user) + ' ' + std::to_string(login);
            break;
        case Kind::LoggedOut:
            out += ' ' + Base64(user);
            break;
        case Kind::Presence:
            break;
    }
    if (out.size() > kMaxPayloadBytes) return std::nullopt;
    return out;
}

std::optional<BusMessage> BusMessage::Decode(std::string_view payload) {
    if (payload.size() > kMaxPayloadBytes) return std::nullopt;
    std::vector<std::string_view> fields = Fields(payload);
    if (fields.size() < 2 || fields[0].size() != 1 || !IsInstanceId(fields[1])) return std::nullopt;
    BusMessage message;
    message.instance = fields[1];
    auto name = [&](size_t index, std::u16string& into) {
        std::optional<std::u16string> text = FromBase64(fields[index], kMaxNameChars);
        if (!text || text->empty()) return false;
        into = std::move(*text);
        return true;
    };
    switch (fields[0][0]) {
        case 'T': {
            message.kind = Kind::Frame;
            if (fields.size() != 7 || !IsInstanceId(fields[2]) || !name(3, message.user) ||
                (fields[6] != "0" && fields[6] != "1")) {
                return std::nullopt;
            }
            std::optional<std::u16string> code = FromBase64(fields[4], kMaxCodeChars);
            std::optional<std::u16string> frame = FromBase64(fields[5], kMaxBusFrameChars);
            if (!code || !frame) return std::nullopt;
            message.target = fields[2];
            message.code = std::move(*code);
            message.frame = std::move(*frame);
            message.keep = fields[6] == "1";
            return message;
        }
        case 'C': {
            message.kind = Kind::Chat;
            if (fields.size() != 3) return std::nullopt;
            std::optional<std::u16string> frame = FromBase64(fields[2], kMaxBusFrameChars);
            if (!frame) return std::nullopt;
            message.frame = std::move(*frame);
            return message;
        }
        case 'I': {
            message.kind = Kind::LoggedIn;
            if (fields.size() != 4 || !name(2, message.user)) return std::nullopt;
            const char* end = fields[3].data() + fields[3].size();
            auto [stop, failed] = std::from_chars(fields[3].data(), end, message.login);
            if (failed != std::errc() || stop != end || fields[3].empty() ||
                fields[3][0] == '+') {
                return std::nullopt;
            }
            return message;
        }
        case 'O':
            message.kind = Kind::LoggedOut;
            if (fields.size() != 3 || !name(2, message.user)) return std::nullopt;
            return message;
        case 'P':
            message.kind = Kind::Presence;
            if (fields.size() != 2) return std::nullopt;
            return message;
        default:
            return std::nullopt;
    }
}

}  // namespace pondrel::server

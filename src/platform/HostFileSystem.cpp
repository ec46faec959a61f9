#include "platform/HostFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <system_error>

#include "platform/Text.h"

namespace pondrel {

namespace fs = std::filesystem;

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string out(folder);
    bool folderEnds = !out.empty() && (out.back() == u'\\' || out.back() == u'/');
    bool nameStarts = !name.empty() && (name.front() == u'\\' || name.front() == u'/');
    if (folderEnds && nameStarts) {
        out.pop_back();
    } else if (!folderEnds && !nameStarts) {
        out += u'\\';
    }
    out += name;
    return out;
}

std::vector<std::u16string> PathParts(std::u16string_view path) {
    std::vector<std::u16string> parts;
    std::u16string part;
    for (char16_t c : path) {
        if (c == u'\\' || c == u'/') {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

namespace {

bool MatchFrom(std::u16string_view name, size_t n, std::u16string_view pattern, size_t p) {
    while (p < pattern.size()) {
        if (pattern[p] == u'*') {
            while (p < pattern.size() && pattern[p] == u'*') ++p;
            if (p == pattern.size()) return true;
            for (size_t k = n; k <= name.size(); ++k) {
                if (MatchFrom(name, k, pattern, p)) return true;
            }
            return false;
        }
        if (n == name.size()) return false;
        if (pattern[p] != u'?' && FoldCase(pattern[p]) != FoldCase(name[n])) return false;
        ++p;
        ++n;
    }
    return n == name.size();
}

std::string Describe(int err) {
    return std::strerror(err);
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

void SyncHostFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool FitsFileNameLimit(std::u16string_view name) {
    return ToUtf8(name).size() <= kMaxFileNameBytes;
}

bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
    return MatchFrom(name, 0, pattern, 0);
}

fs::path TemporaryPathFor(const fs::path& file) {
    constexpr size_t kMaxNameBytes = kMaxFileNameBytes;
    const std::string name = file.filename().string();
    std::string temporary = "." + name + ".tmp";
    if (temporary.size() > kMaxNameBytes) {
        // FNV-1a of the whole name tells apart long names that begin alike.
        uint64_t hash = 14695981039346656037ULL;
        for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ULL;
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        const std::string tail = std::string("~") + hex + ".tmp";
        size_t keep = kMaxNameBytes - 1 - tail.size();
        // Never cut a UTF-8 character in two.
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        temporary = "." + name.substr(0, keep) + tail;
    }
    return file.parent_path() / temporary;
}

bool ReadHostFile(const fs::path& file, size_t maxBytes, std::string& bytes, Error* error) {
    bytes.clear();
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Error::Set(error, errno == ENOENT ? ErrorKind::NotFound : ErrorKind::CannotOpen,
                   file.string() + ": " + Describe(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        Error::Set(error, ErrorKind::CannotOpen, file.string() + ": not a file");
        return false;
    }
    size_t want = maxBytes;
    if (st.st_size >= 0 && static_cast<uint64_t>(st.st_size) < want) {
        want = static_cast<size_t>(st.st_size);
    }
    bytes.resize(want);
    size_t got = 0;
    while (got < maxBytes) {
        if (got == bytes.size()) bytes.resize(std::min(maxBytes, bytes.size() * 2 + 4096));
        ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            bytes.clear();
            Error::Set(error, ErrorKind::ReadFailed, file.string() + ": " + Describe(err));
            return false;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    ::close(fd);
    return true;
}

bool WriteHostFile(const fs::path& file, std::string_view bytes, Error* error) {
    if (!WriteHostFileFolderUnsynced(file, bytes, error)) return false;
    const fs::path folder = file.parent_path();
    SyncHostFolder(folder.empty() ? fs::path(".") : folder);
    return true;
}

bool WriteHostFileFolderUnsynced(const fs::path& file, std::string_view bytes, Error* error) {
    const fs::path temp = TemporaryPathFor(file);
    // Patient files and the preferences (which hold the server password) are for their owner
    // only.
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        Error::Set(error, ErrorKind::CannotOpen, file.string() + ": " + Describe(errno));
        return false;
    }
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), file.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        Error::Set(error, ErrorKind::WriteFailed, file.string() + ": " + Describe(err));
        return false;
    }
    return true;
}

HostFileSystem::HostFileSystem(fs::path root) : m_root(std::move(root)) {}

std::u16string HostFileSystem::ShownPath(std::u16string_view path) const {
    const fs::path host = HostPath(path);
    std::error_code ec;
    const fs::path whole = fs::absolute(host, ec);
    return FromUtf8((ec ? host : whole).lexically_normal().string());
}

fs::path HostFileSystem::HostPath(std::u16string_view devicePath) const {
    const std::vector<std::u16string> parts = PathParts(devicePath);
    std::vector<std::string> utf8Parts;
    utf8Parts.reserve(parts.size());
    fs::path exact = m_root;
    for (const auto& part : parts) {
        // Device paths never climb; such a part names nothing.
        utf8Parts.push_back(part == u"." || part == u".." ? std::string("_") : ToUtf8(part));
        exact /= utf8Parts.back();
    }
    // Most paths are written as they are on the disk: one look settles them. Every part of an
    // existing path exists, so resolving part by part would find the same.
    std::error_code exactError;
    if (fs::exists(fs::symlink_status(exact, exactError))) return exact;

    fs::path host = m_root;
    bool resolving = true;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::u16string& part = parts[i];
        const std::string& utf8 = utf8Parts[i];
        if (resolving) {
            std::error_code ec;
            fs::path step = host / utf8;
            if (fs::exists(fs::symlink_status(step, ec))) {
                host = step;
                continue;
            }
            bool found = false;
            for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
                std::u16string name = FromUtf8(it->path().filename().string());
                if (EqualsIgnoreCase(name, part)) {
                    host = it->path();
                    found = true;
                    break;
                }
            }
            if (found) continue;
            resolving = false;
        }
        host /= utf8;
    }
    return host;
}

bool HostFileSystem::ReadFile(std::u16string_view path, size_t maxBytes, std::string& bytes,
                              Error* error) {
    return ReadHostFile(HostPath(path), maxBytes, bytes, error);
}

bool HostFileSystem::WriteFile(std::u16string_view path, std::string_view bytes, Error* error) {
    return WriteHostFile(HostPath(path), bytes, error);
}

bool HostFileSystem::WriteFileFolderUnsynced(std::u16string_view path, std::string_view bytes,
                                             Error* error) {
    return WriteHostFileFolderUnsynced(HostPath(path), bytes, error);
}

bool HostFileSystem::SyncFolder(std::u16string_view folder) {
    std::error_code ec;
    const fs::path host = HostPath(folder);
    if (!fs::is_directory(host, ec)) return false;
    SyncHostFolder(host);
    return true;
}

bool HostFileSystem::FileExists(std::u16string_view path) {
    std::error_code ec;
    return fs::is_regular_file(HostPath(path), ec);
}

bool HostFileSystem::FolderExists(std::u16string_view path) {
    std::error_code ec;
    return fs::is_directory(HostPath(path), ec);
}

std::optional<uint64_t> HostFileSystem::FileSize(std::u16string_view path) {
    std::error_code ec;
    auto size = fs::file_size(HostPath(path), ec);
    if (ec) return std::nullopt;
    return size;
}

std::optional<DateTime> HostFileSystem::ModificationTime(std::u16string_view path) {
    struct stat st {};
    if (::stat(HostPath(path).c_str(), &st) != 0) return std::nullopt;
    std::tm local{};
    time_t when = st.st_mtime;
    if (!::localtime_r(&when, &local)) return std::nullopt;
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
}

bool HostFileSystem::CreateFolder(std::u16string_view path, Error* error) {
    fs::path host = HostPath(path);
    if (::mkdir(host.c_str(), 0755) == 0) return true;
    const int err = errno;
    std::error_code ec;
    if (err == EEXIST && fs::is_directory(host, ec)) return true;
    Error::Set(error, ErrorKind::CannotOpen,
               host.string() + ": " + (err == EEXIST ? "a file has that name" : Describe(err)));
    return false;
}

bool HostFileSystem::DeleteFile(std::u16string_view path, Error* error) {
    fs::path host = HostPath(path);
    if (::unlink(host.c_str()) != 0) {
        Error::Set(error, errno == ENOENT ? ErrorKind::NotFound : ErrorKind::WriteFailed,
                   host.string() + ": " + Describe(errno));
        return false;
    }
    return true;
}

bool HostFileSystem::MoveFile(std::u16string_view from, std::u16string_view to, Error* error) {
    fs::path source = HostPath(from);
    fs::path target = HostPath(to);
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) {
        Error::Set(error, ErrorKind::NotFound, source.string() + ": no such file");
        return false;
    }
    // A rename that only changes case is allowed; any other existing target is refused.
    if (fs::exists(target, ec) && !fs::equivalent(source, target, ec)) {
        Error::Set(error, ErrorKind::Refused, target.string() + ": exists");
        return false;
    }
    if (::rename(source.c_str(), target.c_str()) == 0) {
        SyncHostFolder(target.parent_path());
        return true;
    }
    if (errno != EXDEV) {
        Error::Set(error, ErrorKind::WriteFailed, target.string() + ": " + Describe(errno));
        return false;
    }
    // Another host file system: copy, then remove the source.
    return CopyFile(from, to, error) && DeleteFile(from, error);
}

bool HostFileSystem::CopyFile(std::u16string_view from, std::u16string_view to, Error* error) {
    std::string bytes;
    if (!ReadFile(from, SIZE_MAX, bytes, error)) return false;
    return WriteFile(to, bytes, error);
}

bool HostFileSystem::ListFiles(std::u16string_view folder, std::u16string_view pattern,
                               std::vector<std::u16string>& names, size_t maxCount, bool* moreExist,
                               Error* error) {
    names.clear();
    if (moreExist) *moreExist = false;
    const fs::path host = HostPath(folder);
    std::error_code ec;
    for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::u16string name = FromUtf8(it->path().filename().string());
        if (MatchesPattern(name, pattern)) names.push_back(std::move(name));
    }
    if (ec) {
        names.clear();
        Error::Set(error,
                   ec == std::errc::no_such_file_or_directory ? ErrorKind::NotFound
                                                              : ErrorKind::ReadFailed,
                   host.string() + ": " + ec.message());
        return false;
    }
    // Each name is folded once, not at every comparison.
    std::vector<std::pair<std::u16string, std::u16string>> keyed;
    keyed.reserve(names.size());
    for (std::u16string& name : names) keyed.emplace_back(FoldCase(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < keyed.size(); ++i) names[i] = std::move(keyed[i].second);
    if (moreExist) *moreExist = names.size() > maxCount;
    if (names.size() > maxCount) names.resize(maxCount);
    return true;
}

}  // namespace pondrel

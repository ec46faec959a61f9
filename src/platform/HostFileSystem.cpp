#include "platform/HostFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

std::string Describe(int err) { return std::strerror(err); }

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

void SyncFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
    return MatchFrom(name, 0, pattern, 0);
}

HostFileSystem::HostFileSystem(fs::path root) : m_root(std::move(root)) {}

fs::path HostFileSystem::HostPath(std::u16string_view devicePath) const {
    fs::path host = m_root;
    bool resolving = true;
    for (const auto& part : PathParts(devicePath)) {
        std::string utf8 = ToUtf8(part);
        if (part == u"." || part == u"..") {
            // Device paths never climb; such a part names nothing.
            utf8 = "_";
        }
        if (resolving) {
            std::error_code ec;
            fs::path exact = host / utf8;
            if (fs::exists(fs::symlink_status(exact, ec))) {
                host = exact;
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
    bytes.clear();
    fs::path host = HostPath(path);
    int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Error::Set(error, errno == ENOENT ? ErrorKind::NotFound : ErrorKind::CannotOpen,
                   host.string() + ": " + Describe(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        ::close(fd);
        Error::Set(error, ErrorKind::CannotOpen, host.string() + ": not a file");
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
            Error::Set(error, ErrorKind::ReadFailed, host.string() + ": " + Describe(err));
            return false;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    ::close(fd);
    return true;
}

bool HostFileSystem::WriteFile(std::u16string_view path, std::string_view bytes, Error* error) {
    fs::path host = HostPath(path);
    fs::path folder = host.parent_path();
    fs::path temp = folder / ("." + host.filename().string() + ".tmp");
    // Patient files and the preferences (which hold the server password) are for their owner
    // only.
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        Error::Set(error, ErrorKind::CannotOpen, host.string() + ": " + Describe(errno));
        return false;
    }
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), host.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        Error::Set(error, ErrorKind::WriteFailed, host.string() + ": " + Describe(err));
        return false;
    }
    SyncFolder(folder);
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
    if (::mkdir(host.c_str(), 0755) != 0 && errno != EEXIST) {
        Error::Set(error, ErrorKind::CannotOpen, host.string() + ": " + Describe(errno));
        return false;
    }
    return true;
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
        SyncFolder(target.parent_path());
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

std::vector<std::u16string> HostFileSystem::ListFiles(std::u16string_view folder,
                                                      std::u16string_view pattern,
                                                      size_t maxCount, bool* moreExist) {
    std::vector<std::u16string> names;
    std::error_code ec;
    for (fs::directory_iterator it(HostPath(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::u16string name = FromUtf8(it->path().filename().string());
        if (MatchesPattern(name, pattern)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        return FoldCase(a) < FoldCase(b);
    });
    if (moreExist) *moreExist = names.size() > maxCount;
    if (names.size() > maxCount) names.resize(maxCount);
    return names;
}

}  // namespace pondrel

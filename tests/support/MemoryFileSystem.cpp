#include "MemoryFileSystem.h"

#include <algorithm>

#include "platform/Text.h"

namespace pondrel::test {

std::u16string MemoryFileSystem::Key(std::u16string_view path) {
    std::u16string key;
    for (const auto& part : PathParts(path)) {
        key += u'\\';
        key += FoldCase(part);
    }
    return key;
}

std::u16string MemoryFileSystem::ParentKey(std::u16string_view key) {
    size_t slash = key.rfind(u'\\');
    return std::u16string(key.substr(0, slash == std::u16string_view::npos ? 0 : slash));
}

void MemoryFileSystem::AddFolder(std::u16string_view path) {
    std::u16string key;
    std::u16string shown;
    for (const auto& part : PathParts(path)) {
        key += u'\\';
        key += FoldCase(part);
        shown += u'\\';
        shown += part;
        m_folders.emplace(key, shown);
    }
}

void MemoryFileSystem::AddFile(std::u16string_view path, std::string bytes, DateTime modified) {
    std::u16string key = Key(path);
    AddFolder(ParentKey(key));
    m_files[key] = Entry{std::u16string(path), std::move(bytes), modified};
}

std::optional<std::string> MemoryFileSystem::Bytes(std::u16string_view path) const {
    auto it = m_files.find(Key(path));
    if (it == m_files.end()) return std::nullopt;
    return it->second.bytes;
}

void MemoryFileSystem::Fail(Op op, std::u16string_view pathPart) {
    m_failures.emplace_back(op, FoldCase(pathPart));
}

bool MemoryFileSystem::Failing(Op op, std::u16string_view path) const {
    std::u16string folded = FoldCase(path);
    for (const auto& [failOp, part] : m_failures) {
        if (failOp == op && folded.find(part) != std::u16string::npos) return true;
    }
    return false;
}

std::vector<std::u16string> MemoryFileSystem::AllFiles() const {
    std::vector<std::u16string> out;
    for (const auto& [key, entry] : m_files) out.push_back(entry.path);
    return out;
}

bool MemoryFileSystem::ReadFile(std::u16string_view path, size_t maxBytes, std::string& bytes,
                                Error* error) {
    bytes.clear();
    auto it = m_files.find(Key(path));
    if (it == m_files.end()) {
        Error::Set(error, ErrorKind::NotFound, "no such file");
        return false;
    }
    if (Failing(Op::Read, path)) {
        Error::Set(error, ErrorKind::CannotOpen, "injected read failure");
        return false;
    }
    bytes = it->second.bytes.substr(0, maxBytes);
    return true;
}

bool MemoryFileSystem::WriteFile(std::u16string_view path, std::string_view bytes, Error* error) {
    std::u16string key = Key(path);
    if (Failing(Op::Write, path)) {
        Error::Set(error, ErrorKind::CannotOpen, "injected write failure");
        return false;
    }
    if (!m_folders.count(ParentKey(key)) && !ParentKey(key).empty()) {
        Error::Set(error, ErrorKind::NotFound, "no such folder");
        return false;
    }
    auto it = m_files.find(key);
    if (it == m_files.end()) {
        m_files[key] = Entry{std::u16string(path), std::string(bytes), now};
    } else {
        it->second.bytes = std::string(bytes);
        it->second.modified = now;
    }
    return true;
}

bool MemoryFileSystem::FileExists(std::u16string_view path) {
    return m_files.count(Key(path));
}

bool MemoryFileSystem::FolderExists(std::u16string_view path) {
    std::u16string key = Key(path);
    return key.empty() || m_folders.count(key);
}

std::optional<uint64_t> MemoryFileSystem::FileSize(std::u16string_view path) {
    auto it = m_files.find(Key(path));
    if (it == m_files.end()) return std::nullopt;
    return it->second.bytes.size();
}

std::optional<DateTime> MemoryFileSystem::ModificationTime(std::u16string_view path) {
    auto it = m_files.find(Key(path));
    if (it == m_files.end()) return std::nullopt;
    return it->second.modified;
}

bool MemoryFileSystem::CreateFolder(std::u16string_view path, Error* error) {
    std::u16string key = Key(path);
    if (Failing(Op::CreateFolder, path) || m_files.count(key) ||
        (!ParentKey(key).empty() && !FolderExists(ParentKey(key)))) {
        Error::Set(error, ErrorKind::CannotOpen, "cannot create folder");
        return false;
    }
    m_folders.emplace(key, std::u16string(path));
    return true;
}

bool MemoryFileSystem::DeleteFile(std::u16string_view path, Error* error) {
    if (Failing(Op::Delete, path)) {
        Error::Set(error, ErrorKind::WriteFailed, "injected delete failure");
        return false;
    }
    if (m_files.erase(Key(path)) == 0) {
        Error::Set(error, ErrorKind::NotFound, "no such file");
        return false;
    }
    return true;
}

bool MemoryFileSystem::MoveFile(std::u16string_view from, std::u16string_view to, Error* error) {
    std::u16string source = Key(from);
    std::u16string target = Key(to);
    auto it = m_files.find(source);
    if (it == m_files.end()) {
        Error::Set(error, ErrorKind::NotFound, "no such file");
        return false;
    }
    if (Failing(Op::Move, from) || Failing(Op::Move, to) ||
        (!ParentKey(target).empty() && !m_folders.count(ParentKey(target)))) {
        Error::Set(error, ErrorKind::WriteFailed, "cannot move");
        return false;
    }
    if (source != target && m_files.count(target)) {
        Error::Set(error, ErrorKind::Refused, "target exists");
        return false;
    }
    Entry entry = std::move(it->second);
    m_files.erase(it);
    entry.path = std::u16string(to);
    m_files[target] = std::move(entry);
    return true;
}

bool MemoryFileSystem::CopyFile(std::u16string_view from, std::u16string_view to, Error* error) {
    std::string bytes;
    return ReadFile(from, SIZE_MAX, bytes, error) && WriteFile(to, bytes, error);
}

bool MemoryFileSystem::ListFiles(std::u16string_view folder, std::u16string_view pattern,
                                 std::vector<std::u16string>& names, size_t maxCount,
                                 bool* moreExist, Error* error) {
    names.clear();
    if (moreExist) *moreExist = false;
    std::u16string folderKey = Key(folder);
    if (!FolderExists(folder)) {
        Error::Set(error, ErrorKind::NotFound, "no such folder");
        return false;
    }
    if (Failing(Op::List, folder)) {
        Error::Set(error, ErrorKind::ReadFailed, "injected listing failure");
        return false;
    }
    for (const auto& [key, entry] : m_files) {
        if (ParentKey(key) != folderKey) continue;
        std::u16string name = PathParts(entry.path).back();
        if (MatchesPattern(name, pattern)) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        return FoldCase(a) < FoldCase(b);
    });
    if (moreExist) *moreExist = names.size() > maxCount;
    if (names.size() > maxCount) names.resize(maxCount);
    return true;
}

}  // namespace pondrel::test

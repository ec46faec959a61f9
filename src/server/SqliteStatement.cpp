#include "server/SqliteStatement.h"

#include <sqlite3.h>

#include "platform/Text.h"
#include "server/StoreText.h"

namespace pondrel::server {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        m_failed = true;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
    if (m_statement &&
        sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        m_failed = true;
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::u16string_view text) {
    return Bind(index, std::string_view(ToUtf8(text)));
}

SqliteStatement& SqliteStatement::BindUnits(int index, std::u16string_view units) {
    std::string bytes = UnitsToBytes(units);
    if (m_statement &&
        sqlite3_bind_blob(m_statement, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK) {
        m_failed = true;
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, int64_t value) {
    if (m_statement && sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK) {
        m_failed = true;
    }
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
    if (m_statement && sqlite3_bind_null(m_statement, index) != SQLITE_OK) m_failed = true;
    return *this;
}

bool SqliteStatement::Step() {
    if (!m_statement || m_failed) return false;
    int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) m_failed = true;
    return false;
}

bool SqliteStatement::Run() {
    while (Step()) {
    }
    return !m_failed;
}

std::string SqliteStatement::Text(int column) {
    const unsigned char* text = sqlite3_column_text(m_statement, column);
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(m_statement, column)));
}

std::u16string SqliteStatement::Text16(int column) {
    return FromUtf8(Text(column));
}

std::u16string SqliteStatement::Units(int column) {
    const void* blob = sqlite3_column_blob(m_statement, column);
    size_t size = static_cast<size_t>(sqlite3_column_bytes(m_statement, column));
    if (!blob) return {};
    return BytesToUnits(std::string_view(static_cast<const char*>(blob), size));
}

int64_t SqliteStatement::Int(int column) {
    return sqlite3_column_int64(m_statement, column);
}

bool SqliteStatement::IsNull(int column) {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

}  // namespace pondrel::server

#pragma once

// A prepared SQLite statement with its bindings and columns, finalised when it goes.

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace pondrel::server {

class SqliteStatement {
public:
    // `db` must outlive the statement.
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Prepared() const { return m_statement != nullptr; }

    // Parameters count from 1. Texts are bound as UTF-8, the 16-bit texts of patient files as
    // blobs of little-endian units (they may hold any unit).
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& Bind(int index, std::u16string_view text);
    SqliteStatement& BindUnits(int index, std::u16string_view units);
    SqliteStatement& Bind(int index, int64_t value);
    SqliteStatement& BindNull(int index);

    // True while a row is there.
    bool Step();
    // Runs to the end; false on an error.
    bool Run();
    bool Failed() const { return m_failed; }

    // Columns count from 0.
    std::string Text(int column);
    std::u16string Text16(int column);
    std::u16string Units(int column);
    int64_t Int(int column);
    bool IsNull(int column);

private:
    sqlite3_stmt* m_statement = nullptr;
    bool m_failed = false;
};

}  // namespace pondrel::server

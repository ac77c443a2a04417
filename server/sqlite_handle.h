// Thin owning wrappers over SQLite connections and prepared statements.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tunova::server {

class SqliteStatement;

// An open connection; closed on destruction. Moves only.
class SqliteDatabase {
  public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(SqliteDatabase&& other) noexcept;
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens (creating if missing) `path` read-write with a 5 s busy timeout. False and
    // `error` set when it cannot be opened.
    bool Open(const std::string& path, std::string& error);
    // Runs one or more statements without results. False and `error` set on failure.
    bool Execute(std::string_view sql, std::string& error);
    // Prepares one statement; the result is empty (false) on failure, with `error` set.
    SqliteStatement Prepare(std::string_view sql, std::string& error);
    // The rowid of the last insert on this connection.
    std::int64_t LastInsertRowId() const;
    // The connection's last error message.
    std::string LastError() const;
    bool IsOpen() const { return db_ != nullptr; }
    // The raw connection, for extension interfaces (FTS5's tokenizers); null when closed.
    sqlite3* Handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

// A prepared statement; finalized on destruction. Moves only. Bind indices are 1-based.
class SqliteStatement {
  public:
    SqliteStatement() = default;
    explicit SqliteStatement(sqlite3_stmt* statement) : statement_(statement) {}
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    explicit operator bool() const { return statement_ != nullptr; }
    // Resets the statement and clears its bindings for another run.
    void Reset();
    void Bind(int index, std::string_view text);
    void Bind(int index, std::int64_t value);
    void Bind(int index, double value);
    // Steps once: true while a row is available; false when done or on error (see Failed()).
    bool Step();
    // True when the last Step ended with an error rather than at the end of the rows.
    bool Failed() const { return failed_; }
    std::string ColumnText(int column) const;
    std::int64_t ColumnInt(int column) const;
    double ColumnDouble(int column) const;

  private:
    sqlite3_stmt* statement_ = nullptr;
    bool failed_ = false;
};

}  // namespace tunova::server

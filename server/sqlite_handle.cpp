#include "server/sqlite_handle.h"

#include <sqlite3.h>

#include <utility>

namespace tunova::server {

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(db_);
}

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)) {}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(db_);
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

bool SqliteDatabase::Open(const std::string& path, std::string& error) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        return false;
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_close_v2(db_);
    db_ = db;
    return true;
}

bool SqliteDatabase::Execute(std::string_view sql, std::string& error) {
    char* message = nullptr;
    const std::string text(sql);
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        error = message != nullptr ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        return false;
    }
    return true;
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql, std::string& error) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db_);
        return SqliteStatement();
    }
    return SqliteStatement(statement);
}

std::int64_t SqliteDatabase::LastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}

std::string SqliteDatabase::LastError() const {
    return db_ != nullptr ? sqlite3_errmsg(db_) : "";
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), failed_(other.failed_) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        failed_ = other.failed_;
    }
    return *this;
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    failed_ = false;
}

void SqliteStatement::Bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
}

void SqliteStatement::Bind(int index, double value) {
    sqlite3_bind_double(statement_, index, value);
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(statement_);
    failed_ = rc != SQLITE_ROW && rc != SQLITE_DONE;
    return rc == SQLITE_ROW;
}

std::string SqliteStatement::ColumnText(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

std::int64_t SqliteStatement::ColumnInt(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double SqliteStatement::ColumnDouble(int column) const {
    return sqlite3_column_double(statement_, column);
}

}  // namespace tunova::server

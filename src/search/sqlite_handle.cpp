#include "search/sqlite_handle.hpp"

#include <sqlite3.h>

#include "common/error.hpp"

namespace quillora::sqlite {

namespace {

[[noreturn]] void Fail(sqlite3* connection, const std::string& what)
{
    throw Error(what + ": " + (connection != nullptr ? sqlite3_errmsg(connection) : "out of memory"));
}

}  // namespace

void ConnectionCloser::operator()(sqlite3* connection) const
{
    sqlite3_close_v2(connection);
}

void StatementFinaliser::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

Connection Open(const std::string& path, OpenMode mode)
{
    const int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    sqlite3* raw = nullptr;
    const int result = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection connection(raw);
    if (result != SQLITE_OK) {
        Fail(connection.get(), "cannot open the search index " + path);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    return connection;
}

void Execute(sqlite3* connection, const char* sql)
{
    if (sqlite3_exec(connection, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail(connection, "search index");
    }
}

Statement Prepare(sqlite3* connection, std::string_view sql)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
        Fail(connection, "search index");
    }
    return Statement(raw);
}

void Bind(sqlite3_stmt* statement, int position, std::string_view text)
{
    if (sqlite3_bind_text64(statement, position, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) !=
        SQLITE_OK) {
        Fail(sqlite3_db_handle(statement), "search index");
    }
}

void Bind(sqlite3_stmt* statement, int position, std::int64_t number)
{
    if (sqlite3_bind_int64(statement, position, number) != SQLITE_OK) {
        Fail(sqlite3_db_handle(statement), "search index");
    }
}

bool Step(sqlite3_stmt* statement)
{
    switch (sqlite3_step(statement)) {
    case SQLITE_ROW: return true;
    case SQLITE_DONE: return false;
    default: Fail(sqlite3_db_handle(statement), "search index");
    }
}

void Run(sqlite3_stmt* statement)
{
    while (Step(statement)) {
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

std::string TextColumn(sqlite3_stmt* statement, int column)
{
    const auto* text = sqlite3_column_text(statement, column);
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text),
                                         static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                           : std::string();
}

std::int64_t NumberColumn(sqlite3_stmt* statement, int column)
{
    return sqlite3_column_int64(statement, column);
}

}  // namespace quillora::sqlite

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quillora::sqlite {

// One owner for each SQLite object: a connection is closed, a statement finalised, on every path.
struct ConnectionCloser {
    void operator()(sqlite3* connection) const;
};
struct StatementFinaliser {
    void operator()(sqlite3_stmt* statement) const;
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinaliser>;

enum class OpenMode { ReadOnly, Create };

// Opens the database at `path` (":memory:" for one that lives in memory only). A database that
// came with a book is data, not code: its schema may run no SQL functions of its own, and
// nothing in it may corrupt the file. Throws Error naming the file when it cannot be opened.
Connection Open(const std::string& path, OpenMode mode);

// Runs statements that return no rows. Throws Error with SQLite's message.
void Execute(sqlite3* connection, const char* sql);
// Throws Error with SQLite's message when the SQL does not compile.
Statement Prepare(sqlite3* connection, std::string_view sql);

// Binding by position (1-based); the texts are copied.
void Bind(sqlite3_stmt* statement, int position, std::string_view text);
void Bind(sqlite3_stmt* statement, int position, std::int64_t number);
// Steps once: true while a row is there, false when done. Throws Error on failure.
bool Step(sqlite3_stmt* statement);
// Steps to the end and rewinds for the next use, keeping nothing bound.
void Run(sqlite3_stmt* statement);
std::string TextColumn(sqlite3_stmt* statement, int column);
std::int64_t NumberColumn(sqlite3_stmt* statement, int column);

}  // namespace quillora::sqlite

#pragma once

// The database's structure, from the schema resource, on the one connection.
namespace Schema {

// The structure's version, kept in the file (PRAGMA user_version). Raise it
// when an index or a view of the schema changes.
inline constexpr int Version = 5;

// What an opened file holds, read without changing it: nothing yet, this
// system's tables, or only tables of another program.
enum class Contents { Empty, Ours, Foreign };
Contents contents();

// Settings every open of the file needs: WAL, so that a reader never blocks a
// save and a save never blocks a reader (also of another program), and a page
// cache that holds the cars and stock records a statistics run goes through.
void configure();

// A new file: every table, index, view and first row, in one transaction.
void create();

// The numbering table's one row: "cms001", today's year and month, every
// counter at 0. The table must be empty.
void seedNumbering();

// A file made by an earlier version: its indexes and views brought up to date,
// and the indexes that the schema drops dropped (tables are never changed
// here). Does nothing when the file is current.
void upgrade();

} // namespace Schema

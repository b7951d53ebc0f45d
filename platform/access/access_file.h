// Reading, updating and creating Access (Jet 3 and Jet 4) database files.
// Plain C++, no Qt. Every offset read from a file is checked and every loop is
// bounded, so a damaged file gives an Error, never a hang or a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devimax::access {

enum class JetVersion { Jet3, Jet4 };

// Column type codes as stored in the table definition.
enum class ColumnType : std::uint8_t {
    Boolean = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,
    Numeric = 0x10,
};

struct Column {
    std::string name;          // UTF-8
    std::uint8_t typeCode = 0; // raw type code; compare with ColumnType
    std::uint16_t size = 0;    // bytes in the row (Text: maximum length in bytes)
    bool indexed = false;      // part of an index: never written by updateRecord
    ColumnType type() const { return static_cast<ColumnType>(typeCode); }
};

// A field as read from a row.
struct Value {
    enum class Kind { Null, Boolean, Integer, Double, Currency, Text, Unsupported };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::int64_t integer = 0; // Byte, Integer, Long; Currency in ten-thousandths
    double number = 0;        // Single, Double (and DateTime as its stored double)
    std::string text;         // Text and inline Memo, UTF-8

    static Value null() { return {}; }
    static Value fromDouble(double v) {
        Value x;
        x.kind = Kind::Double;
        x.number = v;
        return x;
    }
    static Value fromInteger(std::int64_t v) {
        Value x;
        x.kind = Kind::Integer;
        x.integer = v;
        return x;
    }
    static Value fromCurrency(std::int64_t tenThousandths) {
        Value x;
        x.kind = Kind::Currency;
        x.integer = tenThousandths;
        return x;
    }
    static Value fromText(std::string t) {
        Value x;
        x.kind = Kind::Text;
        x.text = std::move(t);
        return x;
    }
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows; // in the table's natural (page) order
};

// A failure with a number (those of the Jet engine that users know: 3024 file not
// found, 3343 unrecognized format, 3049 damaged, 3078 table not found, 3021 no
// current record, 3265 field not found, 3163 field too small, 3464 type mismatch,
// 3027 read-only, 3026 disk full or write failure, 3047 record too large) and a
// French message that names the file.
struct Error {
    int number = 0;
    std::string message;
};

class Database {
public:
    // Reads the whole file and checks its header. nullopt and `error` on failure.
    static std::optional<Database> open(const std::string& path, Error& error);
    // The same on bytes already in memory; `fileName` is used in messages only.
    static std::optional<Database> fromBytes(std::vector<std::uint8_t> bytes,
                                             const std::string& fileName, Error& error);

    JetVersion version() const;
    // Names of the user tables (system tables left out), in catalog order.
    std::vector<std::string> tableNames(Error& error) const;
    // The whole table; names compare without regard to ASCII case, as Jet does.
    std::optional<Table> readTable(std::string_view name, Error& error) const;

private:
    Database() = default;
    std::vector<std::uint8_t> bytes_;
    std::string fileName_;
    JetVersion version_ = JetVersion::Jet4;
};

// One field to replace, as text: read with `decimalSeparator` for numeric columns
// (Double, Single, Currency, Byte, Integer, Long), stored unchanged in Text columns.
struct FieldUpdate {
    std::string column;
    std::string text;
};

// Replaces fields of row `rowIndex` (natural order) of `table` in the file at `path`.
// Nothing is written unless every update can be applied; the file is then replaced
// atomically (new file beside it, flushed, renamed over it, directory flushed, mode
// kept). On failure the file is left byte for byte as it was.
bool updateRecord(const std::string& path, std::string_view table, std::size_t rowIndex,
                  const std::vector<FieldUpdate>& updates, std::string_view decimalSeparator,
                  Error& error);

struct ColumnSpec {
    std::string name;
    ColumnType type = ColumnType::Double; // Double, Currency, Long or Text
    std::uint16_t textLength = 50;        // characters, Text only
};

struct TableSpec {
    std::string name;
    std::vector<ColumnSpec> columns;
    std::vector<std::vector<Value>> rows;
};

// A complete, valid database file holding one user table.
// Throws std::invalid_argument when a column or value cannot be stored.
std::vector<std::uint8_t> createDatabase(JetVersion version, const TableSpec& table);

// Writes bytes to `path` the crash-safe way described for updateRecord.
bool replaceFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           Error& error);

} // namespace devimax::access

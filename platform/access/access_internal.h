// Internal pieces of the Access engine shared by the reader, writer and creator.
// Not part of the program's interface; tests and the fuzzer may use it.
#pragma once

#include "platform/access/access_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace devimax::access {

// Error numbers, as Jet reports them.
namespace errc {
constexpr int FileNotFound = 3024;
constexpr int ReadOnly = 3027;
constexpr int WriteFailed = 3026;
constexpr int RecordTooLarge = 3047;
constexpr int Damaged = 3049;
constexpr int CannotOpen = 3051;
constexpr int NoCurrentRecord = 3021;
constexpr int TableNotFound = 3078;
constexpr int FieldNotFound = 3265;
constexpr int FieldTooSmall = 3163;
constexpr int TypeMismatch = 3464;
constexpr int UnrecognizedFormat = 3343;
constexpr int CannotUpdateField = 3113;
} // namespace errc

namespace detail {

// Little-endian reads and writes; callers check bounds first.
inline std::uint16_t get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
// Jet compares table and column names without regard to ASCII case.
inline bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

inline void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Layout constants of one Jet version.
struct Format {
    JetVersion version;
    std::size_t pageSize;
    std::size_t headerCryptLength; // bytes of page 0 obscured by RC4 from 0x18
    std::size_t rowCountOffset;    // data page: number of rows, then the offsets
    std::size_t tdefRowCount;
    std::size_t tdefTableType;
    std::size_t tdefMaxCols;
    std::size_t tdefVarCols;
    std::size_t tdefCols;
    std::size_t tdefLogicalIndexes;
    std::size_t tdefRealIndexes;
    std::size_t tdefUsageMap;
    std::size_t tdefFreeMap;
    std::size_t tdefStart; // first real-index entry
    std::size_t realIndexEntry;
    std::size_t columnEntry;
    std::size_t colNum;
    std::size_t colVarIndex;
    std::size_t colRowNum;
    std::size_t colMisc;
    std::size_t colFlags;
    std::size_t colFixedOffset;
    std::size_t colSize;
    std::size_t nameLengthSize;      // 1 (Jet 3) or 2 (Jet 4)
    std::size_t realIndexDefinition; // 39 (Jet 3) or 52 (Jet 4)
    std::size_t realIndexColumns;    // offset of the 10 column slots in it
    std::size_t logicalIndexEntry;   // 20 or 28
    std::size_t usageMapLength;      // inline usage map row made by the creator
};

const Format& formatOf(JetVersion version);

constexpr std::uint16_t kRowDeleted = 0x8000;
constexpr std::uint16_t kRowLookup = 0x4000;
constexpr std::uint16_t kRowOffsetMask = 0x1fff;

// RC4 applied in place (same operation both ways).
void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);
inline constexpr std::uint8_t kHeaderKey[4] = {0xc7, 0xda, 0x39, 0x6b};

// Text conversions. All return nullopt for text that cannot be represented.
std::string cp1252ToUtf8(std::span<const std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> utf8ToCp1252(std::string_view text);
std::string ucs2ToUtf8(std::span<const std::uint8_t> bytes); // handles the 0xFF 0xFE form
std::optional<std::vector<std::uint8_t>> utf8ToUcs2(std::string_view text, bool compress);
// Number of characters of UTF-8 text, nullopt when it is not valid UTF-8.
std::optional<std::size_t> utf8Length(std::string_view text);

// French messages, always naming the file.
Error makeError(int number, const std::string& fileName, std::string_view detail = {});
Error damaged(const std::string& fileName, std::string_view detail);
std::string quoted(std::string_view text); // « text »

// One column as laid out in the table definition.
struct ColumnLayout {
    Column column;
    std::uint16_t number = 0;      // position in the row's null mask
    std::uint16_t varIndex = 0;    // slot in the variable-length offset table
    std::uint16_t fixedOffset = 0; // offset of fixed data after the column count
    std::uint8_t flags = 0;
    bool fixed() const { return (flags & 0x01) != 0; }
};

struct TableLayout {
    std::string name;
    std::uint32_t tdefPage = 0;
    std::uint16_t varColumns = 0;
    std::vector<ColumnLayout> columns; // in column-number order
    std::vector<std::uint32_t> dataPages;
};

struct CatalogEntry {
    std::string name;
    std::uint32_t id = 0;
    std::int32_t type = 0;
    std::uint32_t flags = 0;
    bool userTable() const { return (type & 0x7f) == 1 && (flags & 0x80000002u) == 0; }
};

// Where one row lives once a lookup pointer has been followed.
struct RowLocation {
    std::uint32_t page = 0;
    std::uint16_t slot = 0;
    std::size_t start = 0; // offset in the page
    std::size_t end = 0;   // one past the last byte
};

// Where one field of a row lives.
struct FieldLocation {
    bool present = false;   // column stored in this row
    bool notNull = false;   // null-mask bit (the value itself for Boolean)
    std::size_t offset = 0; // in the page
    std::size_t length = 0;
};

struct CrackedRow {
    RowLocation where;
    std::size_t columnCount = 0;         // as stored in the row
    std::size_t varCount = 0;            // entries in the row's offset table
    std::size_t nullMask = 0;            // page offset of the null mask
    std::vector<std::size_t> varOffsets; // relative to the row start, varCount + 1 entries
    std::vector<FieldLocation> fields;   // parallel to TableLayout::columns
};

// Read-only view over a database image with checked page access.
class Image {
public:
    Image(const std::vector<std::uint8_t>& bytes, const Format& format, const std::string& fileName)
        : bytes_(bytes), format_(format), fileName_(fileName) {}

    const Format& format() const { return format_; }
    const std::string& fileName() const { return fileName_; }
    std::size_t pageCount() const { return bytes_.size() / format_.pageSize; }
    // nullptr (and error) when the page is outside the file.
    const std::uint8_t* page(std::uint32_t number, Error& error) const;

    std::optional<std::vector<CatalogEntry>> catalog(Error& error) const;
    std::optional<TableLayout> tableLayout(const std::string& name, std::uint32_t tdefPage,
                                           Error& error) const;
    // Rows of a table in natural order (deleted rows skipped, lookups followed).
    std::optional<std::vector<CrackedRow>> rows(const TableLayout& table, Error& error) const;
    Value decode(const TableLayout& table, const CrackedRow& row, std::size_t column) const;
    // The extent of one row slot of a data page, by the stored offsets.
    bool slotExtent(const std::uint8_t* page, std::size_t slot, std::size_t& start,
                    std::size_t& end, std::uint16_t& flags, Error& error) const;
    std::optional<CrackedRow> crack(const TableLayout& table, const RowLocation& where,
                                    Error& error) const;

private:
    std::optional<std::vector<std::uint32_t>> usageMapPages(std::uint32_t pointer,
                                                            Error& error) const;
    bool collectPages(const std::uint8_t* bitmap, std::size_t length, std::uint64_t first,
                      std::vector<std::uint32_t>& pages, Error& error) const;
    const std::vector<std::uint8_t>& bytes_;
    const Format& format_;
    const std::string& fileName_;
};

// Reads a whole regular file (3024 missing, 3051 not readable).
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, Error& error);

// Row bytes for the given columns and values, as the creator lays them out.
// Throws std::invalid_argument when a value does not fit its column.
std::vector<std::uint8_t> encodeRow(JetVersion version, const std::vector<ColumnLayout>& columns,
                                    const std::vector<Value>& values);
// Text of a Text column as stored: code page 1252 (Jet 3) or UCS-2, compressed when shorter.
std::optional<std::vector<std::uint8_t>> encodeText(JetVersion version, std::string_view text);

// Checks page 0 and returns the version. Sets error on failure.
std::optional<JetVersion> checkHeader(const std::vector<std::uint8_t>& bytes,
                                      const std::string& fileName, Error& error);

// Finds a user table (ASCII case-insensitive) and its layout.
std::optional<TableLayout> findTable(const Image& image, std::string_view name, Error& error);

// The update on an image in memory: returns the new image, already read back and checked.
std::optional<std::vector<std::uint8_t>>
updateImage(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
            std::string_view table, std::size_t rowIndex, const std::vector<FieldUpdate>& updates,
            std::string_view decimalSeparator, Error& error);

// Number text: optional '-', digits, optional separator and digits, optional exponent.
struct DecimalNumber {
    bool negative = false;
    std::string digits;        // significant digits, no leading zeros ("" means zero)
    std::int64_t exponent = 0; // value = digits * 10^exponent
};
std::optional<DecimalNumber> parseDecimal(std::string_view text, std::string_view separator);
std::optional<double> decimalToDouble(const DecimalNumber& number);
// Ten-thousandths, rounded half away from zero; nullopt when out of range.
std::optional<std::int64_t> decimalToCurrency(const DecimalNumber& number);
// nullopt when not a whole number or outside [min, max].
std::optional<std::int64_t> decimalToInteger(const DecimalNumber& number, std::int64_t min,
                                             std::int64_t max);

// Text forms used by the tool and the tests: '.' separator, shortest round trip.
std::string formatDouble(double value);
std::string formatCurrency(std::int64_t tenThousandths);
std::string formatValue(const Value& value);
std::string typeName(const Column& column, JetVersion version);

// Points where replaceFileAtomically can be made to fail, for the crash tests.
enum class ReplaceStep { None, CreateTemp, Write, Sync, Chmod, Close, Rename };
// The step fails with `error` (an errno value) until reset with ReplaceStep::None.
void setReplaceFailure(ReplaceStep step, int error = 5 /* EIO */);

} // namespace detail
} // namespace devimax::access

// Creating a fresh database file: header, page-usage maps, the object catalog
// (MSysObjects) and one user table.
//
// Page layout: 0 header, 1 usage maps, 2 MSysObjects definition, 3 MSysObjects
// rows, 4 user table definition, 5.. user table rows.
#include "platform/access/access_internal.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace devimax::access {

using namespace detail;

namespace {

constexpr std::uint32_t kMapPage = 1;
constexpr std::uint32_t kCatalogPage = 2;
constexpr std::uint32_t kCatalogDataPage = 3;
constexpr std::uint32_t kTablePage = 4;
constexpr std::uint32_t kFirstTableDataPage = 5;
constexpr std::int64_t kTablesContainerId = 0x0F000001;
constexpr std::size_t kMaxRowsPerPage = 255;

std::uint16_t fixedSize(ColumnType type) {
    switch (type) {
    case ColumnType::Byte:
        return 1;
    case ColumnType::Integer:
        return 2;
    case ColumnType::Long:
    case ColumnType::Single:
        return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime:
        return 8;
    default:
        return 0;
    }
}

struct NewColumn {
    std::string name;
    ColumnType type;
    std::uint16_t textLength = 0; // characters
};

std::vector<ColumnLayout> layoutColumns(JetVersion version, const std::vector<NewColumn>& specs) {
    std::vector<ColumnLayout> columns;
    std::uint16_t fixedOffset = 0;
    std::uint16_t varIndex = 0;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const NewColumn& design = specs[i];
        ColumnLayout col;
        col.column.name = design.name;
        col.column.typeCode = static_cast<std::uint8_t>(design.type);
        col.number = static_cast<std::uint16_t>(i);
        if (design.type == ColumnType::Text) {
            if (design.textLength == 0 || design.textLength > 255)
                throw std::invalid_argument("text length must be 1..255: " + design.name);
            col.column.size = static_cast<std::uint16_t>(
                version == JetVersion::Jet4 ? design.textLength * 2 : design.textLength);
            col.flags = 0x02;
            col.varIndex = varIndex++;
        } else if (design.type == ColumnType::Ole || design.type == ColumnType::Memo) {
            col.flags = 0x02;
            col.varIndex = varIndex++;
        } else {
            col.column.size = fixedSize(design.type);
            if (col.column.size == 0)
                throw std::invalid_argument("unsupported column type: " + design.name);
            col.flags = 0x03;
            col.fixedOffset = fixedOffset;
            fixedOffset = static_cast<std::uint16_t>(fixedOffset + col.column.size);
        }
        columns.push_back(std::move(col));
    }
    return columns;
}

void putName(std::vector<std::uint8_t>& out, JetVersion version, const std::string& name) {
    const auto bytes = version == JetVersion::Jet3 ? utf8ToCp1252(name) : utf8ToUcs2(name, false);
    if (!bytes || bytes->empty() || bytes->size() > (version == JetVersion::Jet3 ? 64u : 128u))
        throw std::invalid_argument("invalid name: " + name);
    if (version == JetVersion::Jet3) {
        out.push_back(static_cast<std::uint8_t>(bytes->size()));
    } else {
        out.push_back(static_cast<std::uint8_t>(bytes->size()));
        out.push_back(static_cast<std::uint8_t>(bytes->size() >> 8));
    }
    out.insert(out.end(), bytes->begin(), bytes->end());
}

std::vector<std::uint8_t> tableDefinition(const Format& f, const std::vector<ColumnLayout>& columns,
                                          std::size_t rowCount, bool system, std::uint32_t usageMap,
                                          std::uint32_t freeMap) {
    std::vector<std::uint8_t> page(f.pageSize, 0);
    page[0] = 0x02;
    page[1] = 0x01;
    if (f.version == JetVersion::Jet3) {
        page[2] = 'V';
        page[3] = 'C';
    }
    put32(&page[f.tdefRowCount], static_cast<std::uint32_t>(rowCount));
    page[f.tdefTableType] = system ? 0x53 : 0x4e;
    std::uint16_t varColumns = 0;
    for (const auto& col : columns)
        varColumns = static_cast<std::uint16_t>(varColumns + (col.fixed() ? 0 : 1));
    put16(&page[f.tdefMaxCols], static_cast<std::uint16_t>(columns.size()));
    put16(&page[f.tdefVarCols], varColumns);
    put16(&page[f.tdefCols], static_cast<std::uint16_t>(columns.size()));
    put32(&page[f.tdefUsageMap], usageMap);
    put32(&page[f.tdefFreeMap], freeMap);

    std::vector<std::uint8_t> tail;
    for (const auto& col : columns) {
        std::vector<std::uint8_t> entry(f.columnEntry, 0);
        entry[0] = col.column.typeCode;
        put16(&entry[f.colNum], col.number);
        put16(&entry[f.colVarIndex], col.varIndex);
        put16(&entry[f.colRowNum], col.number);
        if (col.column.type() == ColumnType::Text) {
            if (f.version == JetVersion::Jet4) {
                put16(&entry[f.colMisc], 0x0409); // General sort order
                entry[f.colFlags + 1] = 0x01;     // unicode compression allowed
            } else {
                put16(&entry[7], 0x0409);
                put16(&entry[f.colMisc], 1252);
            }
        }
        entry[f.colFlags] = col.flags;
        put16(&entry[f.colFixedOffset], col.fixedOffset);
        put16(&entry[f.colSize], col.column.size);
        tail.insert(tail.end(), entry.begin(), entry.end());
    }
    for (const auto& col : columns)
        putName(tail, f.version, col.column.name);
    tail.push_back(0xFF); // no column usage maps
    tail.push_back(0xFF);
    if (f.tdefStart + tail.size() > f.pageSize)
        throw std::invalid_argument("table definition does not fit in one page");
    std::memcpy(&page[f.tdefStart], tail.data(), tail.size());
    const std::size_t used = f.tdefStart + tail.size();
    put32(&page[8], static_cast<std::uint32_t>(used - 8));
    if (f.version == JetVersion::Jet4)
        put16(&page[2], static_cast<std::uint16_t>(f.pageSize - used));
    return page;
}

// Lays rows out on data pages from the end of each page, row 0 last.
std::vector<std::vector<std::uint8_t>> dataPages(const Format& f, std::uint32_t tdefPage,
                                                 const std::vector<std::vector<std::uint8_t>>& rows,
                                                 std::uint32_t ownerForHeader = 0xFFFFFFFF) {
    std::vector<std::vector<std::uint8_t>> pages;
    const std::uint32_t owner = ownerForHeader == 0xFFFFFFFF ? tdefPage : ownerForHeader;
    auto newPage = [&] {
        std::vector<std::uint8_t> page(f.pageSize, 0);
        page[0] = 0x01;
        page[1] = 0x01;
        put32(&page[4], owner);
        pages.push_back(std::move(page));
    };
    newPage();
    std::size_t count = 0;
    std::size_t top = f.pageSize;
    auto finish = [&] {
        auto& page = pages.back();
        put16(&page[f.rowCountOffset], static_cast<std::uint16_t>(count));
        put16(&page[2], static_cast<std::uint16_t>(top - (f.rowCountOffset + 2 + 2 * count)));
    };
    for (const auto& row : rows) {
        if (f.rowCountOffset + 2 + row.size() + 2 > f.pageSize)
            throw std::invalid_argument("row too large for a page");
        if (count == kMaxRowsPerPage || top < f.rowCountOffset + 2 + 2 * (count + 1) + row.size()) {
            finish();
            newPage();
            count = 0;
            top = f.pageSize;
        }
        top -= row.size();
        auto& page = pages.back();
        std::memcpy(&page[top], row.data(), row.size());
        put16(&page[f.rowCountOffset + 2 + 2 * count], static_cast<std::uint16_t>(top));
        ++count;
    }
    finish();
    return pages;
}

std::vector<std::uint8_t> usageMap(const Format& f, std::uint32_t firstPage,
                                   std::size_t pageCount) {
    std::vector<std::uint8_t> map(f.usageMapLength, 0);
    if (pageCount > (map.size() - 5) * 8)
        throw std::invalid_argument("too many data pages for an inline usage map");
    put32(&map[1], firstPage);
    for (std::size_t i = 0; i < pageCount; ++i)
        map[5 + i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    return map;
}

std::vector<std::uint8_t> headerPage(const Format& f) {
    std::vector<std::uint8_t> page(f.pageSize, 0);
    page[1] = 0x01;
    std::memcpy(&page[4], "Standard Jet DB", 15);
    page[0x14] = f.version == JetVersion::Jet3 ? 0 : 1;
    put16(&page[0x3c], 1252);
    put16(&page[f.version == JetVersion::Jet3 ? 0x3a : 0x6e], 0x0409);
    rc4(kHeaderKey, std::span<std::uint8_t>(&page[0x18], f.headerCryptLength));
    return page;
}

Value checkedValue(const ColumnLayout& col, const Value& value) {
    if (value.kind == Value::Kind::Null)
        return value;
    const auto bad = [&] {
        return std::invalid_argument("value does not fit column " + col.column.name);
    };
    switch (col.column.type()) {
    case ColumnType::Double:
        if (value.kind == Value::Kind::Double)
            return value;
        if (value.kind == Value::Kind::Integer)
            return Value::fromDouble(static_cast<double>(value.integer));
        throw bad();
    case ColumnType::Currency:
        if (value.kind == Value::Kind::Currency)
            return value;
        if (value.kind == Value::Kind::Integer && std::abs(value.integer) < 922337203685477)
            return Value::fromCurrency(value.integer * 10000);
        throw bad();
    case ColumnType::Long:
    case ColumnType::Integer: {
        const std::int64_t limit = col.column.type() == ColumnType::Long ? 0x7FFFFFFF : 0x7FFF;
        if (value.kind == Value::Kind::Integer && value.integer >= -limit - 1 &&
            value.integer <= limit)
            return value;
        throw bad();
    }
    case ColumnType::Text:
        if (value.kind == Value::Kind::Text)
            return value;
        throw bad();
    default:
        throw bad();
    }
}

} // namespace

namespace detail {

std::optional<std::vector<std::uint8_t>> encodeText(JetVersion version, std::string_view text) {
    return version == JetVersion::Jet3 ? utf8ToCp1252(text) : utf8ToUcs2(text, true);
}

std::vector<std::uint8_t> encodeRow(JetVersion version, const std::vector<ColumnLayout>& columns,
                                    const std::vector<Value>& values) {
    if (values.size() != columns.size())
        throw std::invalid_argument("row has the wrong number of values");
    const bool jet3 = version == JetVersion::Jet3;
    const std::size_t ccs = jet3 ? 1 : 2;
    std::size_t fixedEnd = 0;
    std::size_t varCount = 0;
    for (const auto& col : columns) {
        if (col.fixed())
            fixedEnd = std::max<std::size_t>(fixedEnd, col.fixedOffset + col.column.size);
        else
            varCount = std::max<std::size_t>(varCount, col.varIndex + 1u);
    }
    std::vector<std::uint8_t> row(ccs + fixedEnd, 0);
    row[0] = static_cast<std::uint8_t>(columns.size());
    if (!jet3)
        row[1] = static_cast<std::uint8_t>(columns.size() >> 8);
    std::vector<std::uint8_t> mask((columns.size() + 7) / 8, 0);
    std::vector<std::vector<std::uint8_t>> varData(varCount);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ColumnLayout& col = columns[i];
        const Value v = checkedValue(col, values[i]);
        if (v.kind == Value::Kind::Null)
            continue;
        mask[col.number / 8] |= static_cast<std::uint8_t>(1u << (col.number % 8));
        std::uint8_t* d = row.data() + ccs + col.fixedOffset;
        switch (col.column.type()) {
        case ColumnType::Double:
            std::memcpy(d, &v.number, 8);
            break;
        case ColumnType::Currency:
            put32(d, static_cast<std::uint32_t>(static_cast<std::uint64_t>(v.integer)));
            put32(d + 4, static_cast<std::uint32_t>(static_cast<std::uint64_t>(v.integer) >> 32));
            break;
        case ColumnType::Long:
            put32(d, static_cast<std::uint32_t>(v.integer));
            break;
        case ColumnType::Integer:
            put16(d, static_cast<std::uint32_t>(v.integer));
            break;
        case ColumnType::Text: {
            const auto length = utf8Length(v.text);
            const std::size_t maxChars = jet3 ? col.column.size : col.column.size / 2u;
            auto bytes = encodeText(version, v.text);
            if (!length || !bytes)
                throw std::invalid_argument("text cannot be stored in column " + col.column.name);
            if (*length > maxChars)
                throw std::invalid_argument("text too long for column " + col.column.name);
            varData[col.varIndex] = std::move(*bytes);
            break;
        }
        default:
            throw std::invalid_argument("unsupported column type " + col.column.name);
        }
    }
    if (varCount == 0) {
        row.insert(row.end(), mask.begin(), mask.end());
        return row;
    }
    std::vector<std::size_t> offsets;
    for (const auto& data : varData) {
        offsets.push_back(row.size());
        row.insert(row.end(), data.begin(), data.end());
    }
    offsets.push_back(row.size()); // end of the variable data
    const std::size_t entry = jet3 ? 1 : 2;
    const std::size_t total = row.size() + entry * (varCount + 2) + mask.size();
    if (jet3 && total > 256)
        throw std::invalid_argument("a Jet 3 row longer than 256 bytes needs a jump table");
    for (std::size_t i = offsets.size(); i-- > 0;) {
        row.push_back(static_cast<std::uint8_t>(offsets[i]));
        if (!jet3)
            row.push_back(static_cast<std::uint8_t>(offsets[i] >> 8));
    }
    row.push_back(static_cast<std::uint8_t>(varCount));
    if (!jet3)
        row.push_back(static_cast<std::uint8_t>(varCount >> 8));
    row.insert(row.end(), mask.begin(), mask.end());
    return row;
}

} // namespace detail

std::vector<std::uint8_t> createDatabase(JetVersion version, const TableSpec& table) {
    const Format& f = formatOf(version);
    if (table.columns.empty())
        throw std::invalid_argument("a table needs at least one column");
    std::vector<NewColumn> userSpecs;
    for (const auto& c : table.columns) {
        if (c.type != ColumnType::Double && c.type != ColumnType::Currency &&
            c.type != ColumnType::Long && c.type != ColumnType::Text)
            throw std::invalid_argument("unsupported column type: " + c.name);
        userSpecs.push_back({c.name, c.type, c.textLength});
    }
    const auto userColumns = layoutColumns(version, userSpecs);
    std::vector<std::vector<std::uint8_t>> userRows;
    for (const auto& values : table.rows)
        userRows.push_back(encodeRow(version, userColumns, values));
    const auto userPages = dataPages(f, kTablePage, userRows);

    const auto catalogColumns = layoutColumns(version, {{"Id", ColumnType::Long},
                                                        {"ParentId", ColumnType::Long},
                                                        {"Name", ColumnType::Text, 128},
                                                        {"Type", ColumnType::Integer},
                                                        {"Flags", ColumnType::Long},
                                                        {"LvProp", ColumnType::Ole}});
    const auto catalogRow = [&](std::int64_t id, std::int64_t parent, const std::string& name,
                                std::int64_t type, std::int64_t flags) {
        return encodeRow(version, catalogColumns,
                         {Value::fromInteger(id), Value::fromInteger(parent), Value::fromText(name),
                          Value::fromInteger(type), Value::fromInteger(flags), Value::null()});
    };
    const std::vector<std::vector<std::uint8_t>> catalogRows = {
        catalogRow(kTablesContainerId, 0x0F000000, "Tables", 3,
                   std::numeric_limits<std::int32_t>::min()),
        catalogRow(kCatalogPage, kTablesContainerId, "MSysObjects", 1,
                   static_cast<std::int32_t>(0x80000002u)),
        catalogRow(kTablePage, kTablesContainerId, table.name, 1, 0),
    };
    const auto catalogPages = dataPages(f, kCatalogPage, catalogRows);

    // Usage maps are rows 0..3 of page 1: catalog used/free, user table used/free.
    const std::vector<std::vector<std::uint8_t>> maps = {
        usageMap(f, kCatalogDataPage, catalogPages.size()),
        usageMap(f, kCatalogDataPage, 0),
        usageMap(f, kFirstTableDataPage, userPages.size()),
        usageMap(f, kFirstTableDataPage, 0),
    };
    const auto mapPages = dataPages(f, 0, maps);

    std::vector<std::uint8_t> file = headerPage(f);
    auto append = [&](const std::vector<std::uint8_t>& page) {
        file.insert(file.end(), page.begin(), page.end());
    };
    append(mapPages.at(0));
    append(tableDefinition(f, catalogColumns, catalogRows.size(), true, kMapPage << 8 | 0,
                           kMapPage << 8 | 1));
    append(catalogPages.at(0));
    append(tableDefinition(f, userColumns, table.rows.size(), false, kMapPage << 8 | 2,
                           kMapPage << 8 | 3));
    for (const auto& page : userPages)
        append(page);
    return file;
}

} // namespace devimax::access

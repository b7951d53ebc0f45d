// Header, catalog, table definitions, usage maps and rows of a database image.
#include "platform/access/access_internal.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace devimax::access::detail {

namespace {

std::int64_t signedLE(const std::uint8_t* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    if (n < 8 && (v & (std::uint64_t{1} << (8 * n - 1))))
        v |= ~std::uint64_t{0} << (8 * n);
    return static_cast<std::int64_t>(v);
}

} // namespace

std::optional<JetVersion> checkHeader(const std::vector<std::uint8_t>& bytes,
                                      const std::string& fileName, Error& error) {
    static constexpr char jet[] = "Standard Jet DB";
    static constexpr char ace[] = "Standard ACE DB";
    if (bytes.size() < 0x18 || bytes[0] != 0 ||
        (std::memcmp(bytes.data() + 4, jet, 15) != 0 &&
         std::memcmp(bytes.data() + 4, ace, 15) != 0)) {
        error = makeError(errc::UnrecognizedFormat, fileName);
        return std::nullopt;
    }
    const std::uint8_t versionByte = bytes[0x14];
    if (versionByte >= 2 || std::memcmp(bytes.data() + 4, ace, 15) == 0) {
        error = makeError(errc::UnrecognizedFormat, fileName,
                          "Il a été créé par Access 2007 ou une version plus récente (format "
                          "ACCDB), que ce programme ne sait pas lire.");
        return std::nullopt;
    }
    const JetVersion version = versionByte == 0 ? JetVersion::Jet3 : JetVersion::Jet4;
    const Format& format = formatOf(version);
    if (bytes.size() < 3 * format.pageSize) {
        error = damaged(fileName, "Il est trop court.");
        return std::nullopt;
    }
    std::vector<std::uint8_t> header(bytes.begin() + 0x18,
                                     bytes.begin() + 0x18 +
                                         static_cast<std::ptrdiff_t>(format.headerCryptLength));
    rc4(kHeaderKey, header);
    const std::uint32_t databaseKey = get32(header.data() + (0x3e - 0x18));
    if (databaseKey != 0) {
        error = makeError(errc::UnrecognizedFormat, fileName,
                          "C'est une base de données chiffrée, que ce programme ne sait pas lire.");
        return std::nullopt;
    }
    return version;
}

const std::uint8_t* Image::page(std::uint32_t number, Error& error) const {
    if (number == 0 || number >= pageCount()) {
        error = damaged(fileName_, "Une page est en dehors du fichier.");
        return nullptr;
    }
    return bytes_.data() + static_cast<std::size_t>(number) * format_.pageSize;
}

bool Image::slotExtent(const std::uint8_t* p, std::size_t slot, std::size_t& start,
                       std::size_t& end, std::uint16_t& flags, Error& error) const {
    const std::size_t rco = format_.rowCountOffset;
    const std::size_t count = get16(p + rco);
    const std::size_t tableEnd = rco + 2 + 2 * count;
    if (slot >= count || tableEnd > format_.pageSize) {
        error = damaged(fileName_, "La table des lignes d'une page est incohérente.");
        return false;
    }
    const std::uint16_t raw = get16(p + rco + 2 + 2 * slot);
    flags = raw & (kRowDeleted | kRowLookup);
    start = raw & kRowOffsetMask;
    end = slot == 0 ? format_.pageSize : (get16(p + rco + 2 * slot) & kRowOffsetMask);
    if (flags & kRowDeleted)
        return true; // the bytes of a deleted row are never looked at
    if (start < tableEnd || start > end || end > format_.pageSize) {
        error = damaged(fileName_, "Une ligne déborde de sa page.");
        return false;
    }
    return true;
}

bool Image::collectPages(const std::uint8_t* bitmap, std::size_t length, std::uint64_t first,
                         std::vector<std::uint32_t>& pages, Error& error) const {
    for (std::size_t byte = 0; byte < length; ++byte) {
        if (bitmap[byte] == 0)
            continue;
        for (unsigned bit = 0; bit < 8; ++bit) {
            if ((bitmap[byte] & (1u << bit)) == 0)
                continue;
            const std::uint64_t number = first + byte * 8 + bit;
            if (number == 0 || number >= pageCount()) {
                error = damaged(fileName_, "Une table utilise une page en dehors du fichier.");
                return false;
            }
            pages.push_back(static_cast<std::uint32_t>(number));
        }
    }
    return true;
}

std::optional<std::vector<std::uint32_t>> Image::usageMapPages(std::uint32_t pointer,
                                                               Error& error) const {
    const std::uint8_t* p = page(pointer >> 8, error);
    if (!p)
        return std::nullopt;
    std::size_t start = 0;
    std::size_t end = 0;
    std::uint16_t flags = 0;
    if (!slotExtent(p, pointer & 0xff, start, end, flags, error))
        return std::nullopt;
    if ((flags & kRowDeleted) || end - start < 1) {
        error = damaged(fileName_, "La carte des pages d'une table est illisible.");
        return std::nullopt;
    }
    const std::uint8_t* map = p + start;
    const std::size_t length = end - start;
    std::vector<std::uint32_t> result;
    if (map[0] == 0) {
        if (length < 5) {
            error = damaged(fileName_, "La carte des pages d'une table est trop courte.");
            return std::nullopt;
        }
        const std::uint64_t first = get32(map + 1);
        if (!collectPages(map + 5, length - 5, first, result, error))
            return std::nullopt;
        return result;
    }
    if (map[0] == 1) {
        const std::uint64_t perPage = (format_.pageSize - 4) * 8;
        for (std::size_t i = 0; 1 + 4 * (i + 1) <= length; ++i) {
            const std::uint32_t mapPage = get32(map + 1 + 4 * i);
            if (mapPage == 0)
                continue;
            const std::uint8_t* m = page(mapPage, error);
            if (!m)
                return std::nullopt;
            if (m[0] != 0x05) {
                error = damaged(fileName_, "Une page de carte d'utilisation est incorrecte.");
                return std::nullopt;
            }
            if (!collectPages(m + 4, format_.pageSize - 4, i * perPage, result, error))
                return std::nullopt;
        }
        return result;
    }
    error = damaged(fileName_, "Le type d'une carte de pages est inconnu.");
    return std::nullopt;
}

std::optional<TableLayout> Image::tableLayout(const std::string& name, std::uint32_t tdefPage,
                                              Error& error) const {
    const Format& f = format_;
    const std::uint8_t* first = page(tdefPage, error);
    if (!first)
        return std::nullopt;
    if (first[0] != 0x02) {
        error =
            damaged(fileName_, "La définition de la table " + quoted(name) + " est introuvable.");
        return std::nullopt;
    }
    std::vector<std::uint8_t> def(first, first + f.pageSize);
    std::set<std::uint32_t> seen{tdefPage};
    for (std::uint32_t next = get32(first + 4); next != 0;) {
        const std::uint8_t* p = page(next, error);
        if (!p)
            return std::nullopt;
        if (p[0] != 0x02 || !seen.insert(next).second) {
            error = damaged(fileName_,
                            "La définition de la table " + quoted(name) + " est mal chaînée.");
            return std::nullopt;
        }
        def.insert(def.end(), p + 8, p + f.pageSize);
        next = get32(p + 4);
    }

    TableLayout table;
    table.name = name;
    table.tdefPage = tdefPage;
    table.varColumns = get16(def.data() + f.tdefVarCols);
    const std::size_t columnCount = get16(def.data() + f.tdefCols);
    const std::uint64_t realIndexes = get32(def.data() + f.tdefRealIndexes);
    const auto tooShort = [&] {
        error = damaged(fileName_, "La définition de la table " + quoted(name) + " est tronquée.");
        return std::nullopt;
    };
    std::uint64_t pos = f.tdefStart + realIndexes * f.realIndexEntry;
    if (realIndexes > def.size() || pos + columnCount * f.columnEntry > def.size())
        return tooShort();
    for (std::size_t i = 0; i < columnCount; ++i) {
        const std::uint8_t* c = def.data() + pos;
        ColumnLayout col;
        col.column.typeCode = c[0];
        col.number = get16(c + f.colNum);
        col.varIndex = get16(c + f.colVarIndex);
        col.fixedOffset = get16(c + f.colFixedOffset);
        col.flags = c[f.colFlags];
        col.column.size = col.column.type() == ColumnType::Boolean ? 0 : get16(c + f.colSize);
        table.columns.push_back(std::move(col));
        pos += f.columnEntry;
    }
    for (auto& col : table.columns) {
        if (pos + f.nameLengthSize > def.size())
            return tooShort();
        const std::size_t length = f.nameLengthSize == 1 ? def[pos] : get16(def.data() + pos);
        pos += f.nameLengthSize;
        if (pos + length > def.size())
            return tooShort();
        const std::span<const std::uint8_t> raw(def.data() + pos, length);
        col.column.name = f.version == JetVersion::Jet3 ? cp1252ToUtf8(raw) : ucs2ToUtf8(raw);
        pos += length;
    }
    if (pos + realIndexes * f.realIndexDefinition > def.size())
        return tooShort();
    for (std::uint64_t i = 0; i < realIndexes; ++i) {
        const std::uint8_t* slots = def.data() + pos + f.realIndexColumns;
        for (int k = 0; k < 10; ++k) {
            const std::uint16_t number = get16(slots + 3 * k);
            for (auto& col : table.columns)
                if (number != 0xFFFF && col.number == number)
                    col.column.indexed = true;
        }
        pos += f.realIndexDefinition;
    }
    std::stable_sort(
        table.columns.begin(), table.columns.end(),
        [](const ColumnLayout& a, const ColumnLayout& b) { return a.number < b.number; });

    auto pages = usageMapPages(get32(def.data() + f.tdefUsageMap), error);
    if (!pages)
        return std::nullopt;
    table.dataPages = std::move(*pages);
    return table;
}

std::optional<CrackedRow> Image::crack(const TableLayout& table, const RowLocation& where,
                                       Error& error) const {
    const bool jet3 = format_.version == JetVersion::Jet3;
    const std::uint8_t* p = bytes_.data() + static_cast<std::size_t>(where.page) * format_.pageSize;
    const std::size_t start = where.start;
    const std::size_t end = where.end;
    const std::size_t length = end - start;
    const std::size_t ccs = jet3 ? 1 : 2;
    auto bad = [&] {
        error =
            damaged(fileName_, "Une ligne de la table " + quoted(table.name) + " est illisible.");
        return std::nullopt;
    };
    if (length < ccs)
        return bad();
    CrackedRow row;
    row.where = where;
    row.columnCount = jet3 ? p[start] : get16(p + start);
    const std::size_t maskSize = (row.columnCount + 7) / 8;
    if (ccs + maskSize > length)
        return bad();
    row.nullMask = end - maskSize;

    std::vector<std::size_t>& offsets = row.varOffsets;
    if (table.varColumns > 0) {
        if (jet3) {
            if (ccs + maskSize + 1 > length)
                return bad();
            row.varCount = p[end - maskSize - 1];
            std::size_t jumps = (length - 1) / 256;
            const std::int64_t colPtr = static_cast<std::int64_t>(end) - 1 -
                                        static_cast<std::int64_t>(maskSize) -
                                        static_cast<std::int64_t>(jumps) - 1;
            const std::int64_t firstEntry = colPtr - static_cast<std::int64_t>(row.varCount);
            if (firstEntry < static_cast<std::int64_t>(start + ccs))
                return bad();
            if (static_cast<std::size_t>(firstEntry - static_cast<std::int64_t>(start)) / 256 <
                jumps)
                --jumps; // the last jump entry is only filler
            std::size_t used = 0;
            for (std::size_t i = 0; i <= row.varCount; ++i) {
                while (used < jumps && i == p[end - 1 - maskSize - used - 1])
                    ++used;
                offsets.push_back(p[static_cast<std::size_t>(colPtr) - i] + used * 256);
            }
        } else {
            if (ccs + maskSize + 2 > length)
                return bad();
            row.varCount = get16(p + end - maskSize - 2);
            if (ccs + maskSize + 2 + 2 * (row.varCount + 1) > length)
                return bad();
            for (std::size_t i = 0; i <= row.varCount; ++i)
                offsets.push_back(get16(p + end - maskSize - 4 - 2 * i));
        }
    }
    if (row.varCount > row.columnCount)
        return bad();
    const std::size_t fixedInRow = row.columnCount - row.varCount;
    std::size_t fixedFound = 0;
    for (const auto& col : table.columns) {
        FieldLocation field;
        field.notNull = col.number < row.columnCount &&
                        (p[row.nullMask + col.number / 8] & (1u << (col.number % 8))) != 0;
        if (col.column.type() == ColumnType::Boolean) {
            field.present = col.number < row.columnCount;
        } else if (col.fixed()) {
            if (fixedFound++ < fixedInRow) {
                field.present = true;
                field.offset = start + ccs + col.fixedOffset;
                field.length = col.column.size;
                if (ccs + col.fixedOffset + field.length > length)
                    return bad();
            }
        } else if (col.varIndex < row.varCount) {
            const std::size_t from = offsets[col.varIndex];
            const std::size_t to = offsets[col.varIndex + 1];
            if (from > to || to > length)
                return bad();
            field.present = true;
            field.offset = start + from;
            field.length = to - from;
        }
        row.fields.push_back(field);
    }
    return row;
}

std::optional<std::vector<CrackedRow>> Image::rows(const TableLayout& table, Error& error) const {
    std::vector<CrackedRow> result;
    for (std::uint32_t number : table.dataPages) {
        const std::uint8_t* p = page(number, error);
        if (!p)
            return std::nullopt;
        if (p[0] != 0x01 || get32(p + 4) != table.tdefPage)
            continue; // reserved for the table but not (or no longer) holding its rows
        const std::size_t count = get16(p + format_.rowCountOffset);
        for (std::size_t slot = 0; slot < count; ++slot) {
            RowLocation where{number, static_cast<std::uint16_t>(slot), 0, 0};
            std::uint16_t flags = 0;
            if (!slotExtent(p, slot, where.start, where.end, flags, error))
                return std::nullopt;
            if (flags & kRowDeleted)
                continue;
            if (flags & kRowLookup) {
                // The row moved to another page; this one holds only its address.
                if (where.end - where.start < 4) {
                    error = damaged(fileName_, "Un renvoi de ligne est tronqué.");
                    return std::nullopt;
                }
                const std::uint32_t pointer = get32(p + where.start);
                const std::uint8_t* q = page(pointer >> 8, error);
                if (!q)
                    return std::nullopt;
                if (q[0] != 0x01 || get32(q + 4) != table.tdefPage) {
                    error = damaged(fileName_, "Un renvoi de ligne mène hors de la table.");
                    return std::nullopt;
                }
                RowLocation target{pointer >> 8, static_cast<std::uint16_t>(pointer & 0xff), 0, 0};
                std::uint16_t targetFlags = 0;
                if (!slotExtent(q, target.slot, target.start, target.end, targetFlags, error))
                    return std::nullopt;
                if (targetFlags & kRowDeleted)
                    continue;
                if (targetFlags & kRowLookup) {
                    error = damaged(fileName_, "Un renvoi de ligne mène à un autre renvoi.");
                    return std::nullopt;
                }
                where = target;
            }
            auto row = crack(table, where, error);
            if (!row)
                return std::nullopt;
            result.push_back(std::move(*row));
        }
    }
    return result;
}

Value Image::decode(const TableLayout& table, const CrackedRow& row, std::size_t column) const {
    const ColumnLayout& col = table.columns[column];
    const FieldLocation& field = row.fields[column];
    const std::uint8_t* p =
        bytes_.data() + static_cast<std::size_t>(row.where.page) * format_.pageSize;
    if (col.column.type() == ColumnType::Boolean) {
        Value v;
        v.kind = Value::Kind::Boolean;
        v.boolean = field.notNull;
        return v;
    }
    if (!field.present || !field.notNull)
        return Value::null();
    const std::uint8_t* d = p + field.offset;
    const std::size_t n = field.length;
    Value unsupported;
    unsupported.kind = Value::Kind::Unsupported;
    switch (col.column.type()) {
    case ColumnType::Byte:
        return n >= 1 ? Value::fromInteger(d[0]) : unsupported;
    case ColumnType::Integer:
        return n >= 2 ? Value::fromInteger(signedLE(d, 2)) : unsupported;
    case ColumnType::Long:
        return n >= 4 ? Value::fromInteger(signedLE(d, 4)) : unsupported;
    case ColumnType::Currency:
        return n >= 8 ? Value::fromCurrency(signedLE(d, 8)) : unsupported;
    case ColumnType::Single: {
        if (n < 4)
            return unsupported;
        float x;
        std::memcpy(&x, d, 4);
        return Value::fromDouble(x);
    }
    case ColumnType::Double:
    case ColumnType::DateTime: {
        if (n < 8)
            return unsupported;
        double x;
        std::memcpy(&x, d, 8);
        return Value::fromDouble(x);
    }
    case ColumnType::Text:
        return Value::fromText(format_.version == JetVersion::Jet3 ? cp1252ToUtf8({d, n})
                                                                   : ucs2ToUtf8({d, n}));
    case ColumnType::Memo: {
        if (n < 12 || (d[3] & 0x80) == 0)
            return unsupported;
        const std::size_t memoLength = get32(d) & 0x3FFFFFFF;
        if (memoLength > n - 12)
            return unsupported;
        const std::span<const std::uint8_t> text(d + 12, memoLength);
        return Value::fromText(format_.version == JetVersion::Jet3 ? cp1252ToUtf8(text)
                                                                   : ucs2ToUtf8(text));
    }
    default:
        return unsupported;
    }
}

std::optional<std::vector<CatalogEntry>> Image::catalog(Error& error) const {
    auto layout = tableLayout("MSysObjects", 2, error);
    if (!layout)
        return std::nullopt;
    auto find = [&](std::string_view name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < layout->columns.size(); ++i)
            if (sameName(layout->columns[i].column.name, name))
                return i;
        return std::nullopt;
    };
    const auto id = find("Id");
    const auto name = find("Name");
    const auto type = find("Type");
    const auto flags = find("Flags");
    if (!id || !name || !type || !flags) {
        error = damaged(fileName_, "Le catalogue des objets est incomplet.");
        return std::nullopt;
    }
    auto rowList = rows(*layout, error);
    if (!rowList)
        return std::nullopt;
    std::vector<CatalogEntry> entries;
    for (const auto& row : *rowList) {
        const Value vId = decode(*layout, row, *id);
        const Value vName = decode(*layout, row, *name);
        const Value vType = decode(*layout, row, *type);
        const Value vFlags = decode(*layout, row, *flags);
        if (vId.kind != Value::Kind::Integer || vName.kind != Value::Kind::Text ||
            vType.kind != Value::Kind::Integer)
            continue;
        CatalogEntry entry;
        entry.id = static_cast<std::uint32_t>(vId.integer);
        entry.name = vName.text;
        entry.type = static_cast<std::int32_t>(vType.integer);
        entry.flags =
            vFlags.kind == Value::Kind::Integer ? static_cast<std::uint32_t>(vFlags.integer) : 0;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<TableLayout> findTable(const Image& image, std::string_view name, Error& error) {
    auto entries = image.catalog(error);
    if (!entries)
        return std::nullopt;
    for (const auto& entry : *entries) {
        if (entry.userTable() && sameName(entry.name, name))
            return image.tableLayout(entry.name, entry.id & 0x00FFFFFF, error);
    }
    error = Error{errc::TableNotFound, "La table " + quoted(name) +
                                           " est introuvable dans le fichier " +
                                           quoted(image.fileName()) + "."};
    return std::nullopt;
}

} // namespace devimax::access::detail

// Changing fields of one record: in place for fixed-size fields, by rebuilding the
// row (and re-packing its page) when a text changes length.
#include "platform/access/access_internal.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace devimax::access {

using namespace detail;

namespace {

bool sameValue(const Value& a, const Value& b) {
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Value::Kind::Null:
    case Value::Kind::Unsupported:
        return true;
    case Value::Kind::Boolean:
        return a.boolean == b.boolean;
    case Value::Kind::Integer:
    case Value::Kind::Currency:
        return a.integer == b.integer;
    case Value::Kind::Double:
        return std::memcmp(&a.number, &b.number, sizeof a.number) == 0;
    case Value::Kind::Text:
        return a.text == b.text;
    }
    return false;
}

struct Change {
    std::size_t column = 0;
    Value value;                     // as it must read back
    std::vector<std::uint8_t> bytes; // as stored
};

Error fieldError(int number, const std::string& fileName, const std::string& column,
                 const std::string& what) {
    return Error{number,
                 "Le champ " + quoted(column) + " du fichier " + quoted(fileName) + " " + what};
}

// Converts the text of one update into the bytes of its column.
std::optional<Change> convert(JetVersion version, const ColumnLayout& col,
                              const FieldUpdate& update, std::string_view separator,
                              const std::string& fileName, Error& error) {
    Change change;
    const std::string& name = col.column.name;
    const ColumnType type = col.column.type();
    if (col.column.indexed) {
        error = fieldError(errc::CannotUpdateField, fileName, name,
                           "fait partie d'un index : ce programme ne peut pas le modifier.");
        return std::nullopt;
    }
    if (type == ColumnType::Text) {
        const auto length = utf8Length(update.text);
        auto bytes = encodeText(version, update.text);
        if (!length || !bytes) {
            error = fieldError(errc::TypeMismatch, fileName, name,
                               "ne peut pas contenir certains caractères de " +
                                   quoted(update.text) + ".");
            return std::nullopt;
        }
        const std::size_t maxChars =
            version == JetVersion::Jet4 ? col.column.size / 2u : col.column.size;
        if (*length > maxChars) {
            error = fieldError(errc::FieldTooSmall, fileName, name,
                               "est trop petit : il accepte au plus " + std::to_string(maxChars) +
                                   " caractères, le texte en a " + std::to_string(*length) + ".");
            return std::nullopt;
        }
        change.value = Value::fromText(update.text);
        change.bytes = std::move(*bytes);
        return change;
    }
    const bool numeric = type == ColumnType::Byte || type == ColumnType::Integer ||
                         type == ColumnType::Long || type == ColumnType::Single ||
                         type == ColumnType::Double || type == ColumnType::Currency;
    if (!numeric) {
        error = fieldError(errc::CannotUpdateField, fileName, name,
                           "est d'un type que ce programme ne peut pas modifier.");
        return std::nullopt;
    }
    const auto number = parseDecimal(update.text, separator);
    const auto notANumber = [&](std::string_view why) {
        error = fieldError(errc::TypeMismatch, fileName, name,
                           "attend un nombre" + std::string(why) + " : " + quoted(update.text) +
                               " ne convient pas.");
        return std::nullopt;
    };
    if (!number)
        return notANumber("");
    switch (type) {
    case ColumnType::Double:
    case ColumnType::Single: {
        auto v = decimalToDouble(*number);
        if (!v || !std::isfinite(*v) || (type == ColumnType::Single && std::fabs(*v) > FLT_MAX))
            return notANumber(" dans les limites du champ");
        if (type == ColumnType::Single) {
            const float x = static_cast<float>(*v);
            change.value = Value::fromDouble(x);
            change.bytes.resize(4);
            std::memcpy(change.bytes.data(), &x, 4);
        } else {
            change.value = Value::fromDouble(*v);
            change.bytes.resize(8);
            std::memcpy(change.bytes.data(), &*v, 8);
        }
        return change;
    }
    case ColumnType::Currency: {
        auto v = decimalToCurrency(*number);
        if (!v)
            return notANumber(" dans les limites du champ");
        change.value = Value::fromCurrency(*v);
        change.bytes.resize(8);
        put32(change.bytes.data(), static_cast<std::uint32_t>(static_cast<std::uint64_t>(*v)));
        put32(change.bytes.data() + 4,
              static_cast<std::uint32_t>(static_cast<std::uint64_t>(*v) >> 32));
        return change;
    }
    default: {
        std::int64_t min = 0;
        std::int64_t max = 255;
        std::size_t size = 1;
        if (type == ColumnType::Integer) {
            min = -32768;
            max = 32767;
            size = 2;
        } else if (type == ColumnType::Long) {
            min = INT32_MIN;
            max = INT32_MAX;
            size = 4;
        }
        auto v = decimalToInteger(*number, min, max);
        if (!v)
            return notANumber(" entier entre " + std::to_string(min) + " et " +
                              std::to_string(max));
        change.value = Value::fromInteger(*v);
        change.bytes.resize(size);
        for (std::size_t i = 0; i < size; ++i)
            change.bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(*v) >> (8 * i));
        return change;
    }
    }
}

// Re-packs a data page with one slot's bytes replaced, rows laid from the page end
// in slot order, as every reader of the format expects.
bool repackPage(const Image& image, std::uint8_t* page, std::size_t targetSlot,
                const std::vector<std::uint8_t>& newRow, Error& error) {
    const Format& f = image.format();
    const std::size_t count = get16(page + f.rowCountOffset);
    std::vector<std::vector<std::uint8_t>> slots(count);
    std::vector<std::uint16_t> flags(count);
    std::size_t total = f.rowCountOffset + 2 + 2 * count;
    for (std::size_t s = 0; s < count; ++s) {
        std::size_t start = 0;
        std::size_t end = 0;
        if (!image.slotExtent(page, s, start, end, flags[s], error))
            return false;
        if (s == targetSlot)
            slots[s] = newRow;
        else if (start <= end && end <= f.pageSize)
            slots[s].assign(page + start, page + end);
        total += slots[s].size();
    }
    if (total > f.pageSize) {
        error =
            Error{errc::RecordTooLarge, "L'enregistrement est trop grand : sa page du fichier " +
                                            quoted(image.fileName()) + " n'a plus assez de place."};
        return false;
    }
    std::size_t top = f.pageSize;
    for (std::size_t s = 0; s < count; ++s) {
        top -= slots[s].size();
        if (!slots[s].empty()) // an empty slot has no data pointer to copy from
            std::memcpy(page + top, slots[s].data(), slots[s].size());
        put16(page + f.rowCountOffset + 2 + 2 * s, static_cast<std::uint32_t>(top | flags[s]));
    }
    const std::size_t tableEnd = f.rowCountOffset + 2 + 2 * count;
    std::memset(page + tableEnd, 0, top - tableEnd);
    put16(page + 2, static_cast<std::uint32_t>(top - tableEnd));
    return true;
}

// Rebuilds a row with new variable-length data.
std::optional<std::vector<std::uint8_t>>
rebuildRow(const Image& image, const std::uint8_t* page, const CrackedRow& row,
           const std::vector<const std::vector<std::uint8_t>*>& varData, Error& error) {
    const bool jet3 = image.format().version == JetVersion::Jet3;
    const std::uint8_t* r = page + row.where.start;
    const std::size_t prefix = row.varOffsets.front();
    std::vector<std::uint8_t> out(r, r + prefix);
    std::vector<std::size_t> offsets;
    for (std::size_t j = 0; j < row.varCount; ++j) {
        offsets.push_back(out.size());
        if (varData[j])
            out.insert(out.end(), varData[j]->begin(), varData[j]->end());
        else
            out.insert(out.end(), r + row.varOffsets[j], r + row.varOffsets[j + 1]);
    }
    offsets.push_back(out.size());
    const std::size_t maskSize = (row.columnCount + 7) / 8;
    const std::size_t entry = jet3 ? 1 : 2;
    if (out.size() + entry * (row.varCount + 2) + maskSize >
        (jet3 ? 256u : image.format().pageSize)) {
        error = Error{errc::RecordTooLarge,
                      "L'enregistrement devient trop grand pour le format du fichier " +
                          quoted(image.fileName()) + "."};
        return std::nullopt;
    }
    for (std::size_t i = offsets.size(); i-- > 0;) {
        out.push_back(static_cast<std::uint8_t>(offsets[i]));
        if (!jet3)
            out.push_back(static_cast<std::uint8_t>(offsets[i] >> 8));
    }
    out.push_back(static_cast<std::uint8_t>(row.varCount));
    if (!jet3)
        out.push_back(static_cast<std::uint8_t>(row.varCount >> 8));
    out.insert(out.end(), page + row.nullMask, page + row.nullMask + maskSize);
    return out;
}

struct RowValues {
    TableLayout layout;
    std::vector<CrackedRow> rows;
};

std::optional<RowValues> loadRows(const Image& image, std::string_view table, Error& error) {
    auto layout = findTable(image, table, error);
    if (!layout)
        return std::nullopt;
    auto rows = image.rows(*layout, error);
    if (!rows)
        return std::nullopt;
    return RowValues{std::move(*layout), std::move(*rows)};
}

} // namespace

namespace detail {

std::optional<std::vector<std::uint8_t>>
updateImage(const std::vector<std::uint8_t>& bytes, const std::string& fileName,
            std::string_view table, std::size_t rowIndex, const std::vector<FieldUpdate>& updates,
            std::string_view decimalSeparator, Error& error) {
    const auto version = checkHeader(bytes, fileName, error);
    if (!version)
        return std::nullopt;
    const Format& f = formatOf(*version);
    const Image image(bytes, f, fileName);
    auto loaded = loadRows(image, table, error);
    if (!loaded)
        return std::nullopt;
    const TableLayout& layout = loaded->layout;
    if (rowIndex >= loaded->rows.size()) {
        error = Error{errc::NoCurrentRecord,
                      "Aucun enregistrement courant : la table " + quoted(layout.name) +
                          " du fichier " + quoted(fileName) + " n'a pas d'enregistrement n° " +
                          std::to_string(rowIndex + 1) + "."};
        return std::nullopt;
    }
    const CrackedRow& row = loaded->rows[rowIndex];

    std::vector<Change> changes;
    for (const auto& update : updates) {
        std::optional<std::size_t> column;
        for (std::size_t i = 0; i < layout.columns.size() && !column; ++i)
            if (sameName(layout.columns[i].column.name, update.column))
                column = i;
        if (!column) {
            error = Error{errc::FieldNotFound,
                          "Le champ " + quoted(update.column) + " est introuvable dans la table " +
                              quoted(layout.name) + " du fichier " + quoted(fileName) + "."};
            return std::nullopt;
        }
        auto change =
            convert(*version, layout.columns[*column], update, decimalSeparator, fileName, error);
        if (!change)
            return std::nullopt;
        change->column = *column;
        std::erase_if(changes, [&](const Change& c) { return c.column == *column; });
        changes.push_back(std::move(*change));
    }

    std::vector<std::uint8_t> out = bytes;
    std::uint8_t* page = out.data() + static_cast<std::size_t>(row.where.page) * f.pageSize;
    std::vector<const std::vector<std::uint8_t>*> varData(row.varCount, nullptr);
    bool varChanged = false;
    for (const Change& change : changes) {
        const ColumnLayout& col = layout.columns[change.column];
        const FieldLocation& field = row.fields[change.column];
        if (!field.present || col.number >= row.columnCount) {
            error = Error{errc::RecordTooLarge, "L'enregistrement du fichier " + quoted(fileName) +
                                                    " ne contient pas de place pour le champ " +
                                                    quoted(col.column.name) + "."};
            return std::nullopt;
        }
        page[row.nullMask + col.number / 8] |= static_cast<std::uint8_t>(1u << (col.number % 8));
        if (col.fixed()) {
            if (change.bytes.size() > field.length) {
                error = damaged(fileName, "La taille d'un champ est incohérente.");
                return std::nullopt;
            }
            std::memcpy(page + field.offset, change.bytes.data(), change.bytes.size());
        } else {
            varData[col.varIndex] = &change.bytes;
            varChanged = true;
        }
    }
    if (varChanged) {
        auto newRow = rebuildRow(image, page, row, varData, error);
        if (!newRow)
            return std::nullopt;
        if (newRow->size() == row.where.end - row.where.start) {
            std::memcpy(page + row.where.start, newRow->data(), newRow->size());
        } else {
            const Image outImage(out, f, fileName);
            if (!repackPage(outImage, page, row.where.slot, *newRow, error))
                return std::nullopt;
        }
    }

    // Read the new image back: the record must hold exactly what was asked.
    const Image check(out, f, fileName);
    Error checkError;
    auto reread = loadRows(check, layout.name, checkError);
    bool ok = reread && reread->rows.size() == loaded->rows.size();
    for (std::size_t i = 0; ok && i < layout.columns.size(); ++i) {
        Value expected = image.decode(layout, row, i);
        for (const Change& change : changes)
            if (change.column == i)
                expected = change.value;
        ok = sameValue(check.decode(reread->layout, reread->rows[rowIndex], i), expected);
    }
    if (!ok) {
        error = damaged(fileName,
                        "La modification n'a pas pu être vérifiée ; rien n'a été enregistré.");
        return std::nullopt;
    }
    return out;
}

} // namespace detail

bool updateRecord(const std::string& path, std::string_view table, std::size_t rowIndex,
                  const std::vector<FieldUpdate>& updates, std::string_view decimalSeparator,
                  Error& error) {
    auto bytes = readWholeFile(path, error);
    if (!bytes)
        return false;
    if (::access(path.c_str(), W_OK) != 0) {
        error = makeError(errc::ReadOnly, path);
        return false;
    }
    auto updated = updateImage(*bytes, path, table, rowIndex, updates, decimalSeparator, error);
    if (!updated)
        return false;
    return replaceFileAtomically(path, *updated, error);
}

} // namespace devimax::access

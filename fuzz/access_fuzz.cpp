// libFuzzer target: any bytes through the reader, every table, and an update in memory.
#include "platform/access/access_file.h"
#include "platform/access/access_internal.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace devimax::access;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    Error error;
    auto db = Database::fromBytes(bytes, "fuzz.mdb", error);
    if (!db)
        return 0;
    for (const auto& name : db->tableNames(error)) {
        auto table = db->readTable(name, error);
        if (!table || table->columns.empty())
            continue;
        // Change every column of the first record with a text that suits it.
        std::vector<FieldUpdate> updates;
        for (const auto& column : table->columns)
            updates.push_back(
                {column.name, column.type() == ColumnType::Text ? "Devimax" : "12,5"});
        detail::updateImage(bytes, "fuzz.mdb", name, 0, updates, ",", error);
        detail::updateImage(bytes, "fuzz.mdb", name, 0, {{table->columns[0].name, "7"}}, ",",
                            error);
    }
    return 0;
}

// Helpers shared by the Access engine tests: fixtures made by our own creator.
#pragma once

#include "platform/access/access_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <cstdint>
#include <string>
#include <vector>

namespace devimax::access::testing {

// Nom text(30), Taux double, Prix currency, N long.
inline TableSpec ratesTable(std::vector<std::vector<Value>> rows) {
    TableSpec design;
    design.name = "Taux";
    design.columns = {{"Nom", ColumnType::Text, 30},
                      {"Taux", ColumnType::Double, 0},
                      {"Prix", ColumnType::Currency, 0},
                      {"N", ColumnType::Long, 0}};
    design.rows = std::move(rows);
    return design;
}

inline TableSpec twoRecords() {
    return ratesTable({{Value::fromText("Franc français"), Value::fromDouble(6.55957),
                        Value::fromCurrency(123456), Value::fromInteger(42)},
                       {Value::null(), Value::fromDouble(-1.5e-7), Value::fromCurrency(-5000),
                        Value::fromInteger(-7)}});
}

inline bool writeBytes(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool sameValue(const Value& a, const Value& b) {
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Value::Kind::Boolean:
        return a.boolean == b.boolean;
    case Value::Kind::Integer:
    case Value::Kind::Currency:
        return a.integer == b.integer;
    case Value::Kind::Double:
        return a.number == b.number;
    case Value::Kind::Text:
        return a.text == b.text;
    default:
        return true;
    }
}

inline std::string describe(const Value& v) {
    switch (v.kind) {
    case Value::Kind::Null:
        return "null";
    case Value::Kind::Boolean:
        return v.boolean ? "true" : "false";
    case Value::Kind::Integer:
        return "int " + std::to_string(v.integer);
    case Value::Kind::Currency:
        return "cur " + std::to_string(v.integer);
    case Value::Kind::Double:
        return "dbl " + std::to_string(v.number);
    case Value::Kind::Text:
        return "txt '" + v.text + "'";
    default:
        return "unsupported";
    }
}

// Reads table `name` of the file, failing the test on error.
inline Table readOrFail(const QString& path, const std::string& name) {
    Error error;
    auto db = Database::open(path.toStdString(), error);
    if (!db)
        qFatal("open %s: %d %s", qPrintable(path), error.number, error.message.c_str());
    auto table = db->readTable(name, error);
    if (!table)
        qFatal("read %s: %d %s", name.c_str(), error.number, error.message.c_str());
    return *table;
}

} // namespace devimax::access::testing

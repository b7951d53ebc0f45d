// devimax-mdb: creates, dumps and edits Access rate files with our own engine.
#include "platform/access/access_file.h"
#include "platform/access/access_internal.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace access = devimax::access;
namespace detail = devimax::access::detail;

namespace {

constexpr const char* kUsage =
    "Utilisation / Usage:\n"
    "  devimax-mdb create-default FICHIER\n"
    "      Crée le fichier de taux par défaut (Jet 4, table Parametres : FFR, USD, DEM).\n"
    "      Creates the default rate file.\n"
    "  devimax-mdb create FICHIER --jet3|--jet4 --table NOM\n"
    "          --column NOM:double|currency|long|text[:longueur] ... [--row v1,v2,...] ...\n"
    "      Crée une base avec une table ; valeurs avec '.', vide = nul.\n"
    "      Creates a database with one table; values use '.', empty = null.\n"
    "  devimax-mdb dump FICHIER\n"
    "      Affiche les tables, leurs colonnes et leurs lignes (séparées par des tabulations).\n"
    "      Prints every user table, its columns and rows (tab-separated).\n"
    "  devimax-mdb set FICHIER TABLE COLONNE=TEXTE ... [--separator ,]\n"
    "      Modifie le premier enregistrement de la table.\n"
    "      Changes fields of the table's first record.\n";

int usage() {
    std::cerr << kUsage;
    return 2;
}

int fail(const access::Error& error) {
    std::cerr << "Erreur " << error.number << " : " << error.message << '\n';
    return 1;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    return parts;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    access::Error error;
    if (!access::replaceFileAtomically(path, bytes, error)) {
        fail(error);
        return false;
    }
    return true;
}

access::ColumnSpec parseColumn(const std::string& text) {
    const auto parts = split(text, ':');
    if (parts.size() < 2 || parts.size() > 3 || parts[0].empty())
        throw std::invalid_argument("colonne invalide / invalid column: " + text);
    access::ColumnSpec design;
    design.name = parts[0];
    const std::string& type = parts[1];
    if (type == "double")
        design.type = access::ColumnType::Double;
    else if (type == "currency")
        design.type = access::ColumnType::Currency;
    else if (type == "long")
        design.type = access::ColumnType::Long;
    else if (type == "text")
        design.type = access::ColumnType::Text;
    else
        throw std::invalid_argument("type inconnu / unknown type: " + type);
    if (parts.size() == 3) {
        if (design.type != access::ColumnType::Text)
            throw std::invalid_argument("longueur réservée au texte / length is for text only");
        design.textLength = static_cast<std::uint16_t>(std::stoul(parts[2]));
    }
    return design;
}

access::Value parseValue(const access::ColumnSpec& column, const std::string& text) {
    if (text.empty())
        return access::Value::null();
    if (column.type == access::ColumnType::Text)
        return access::Value::fromText(text);
    const auto number = detail::parseDecimal(text, ".");
    std::optional<access::Value> value;
    if (number) {
        if (column.type == access::ColumnType::Double) {
            if (auto d = detail::decimalToDouble(*number))
                value = access::Value::fromDouble(*d);
        } else if (column.type == access::ColumnType::Currency) {
            if (auto c = detail::decimalToCurrency(*number))
                value = access::Value::fromCurrency(*c);
        } else if (auto i = detail::decimalToInteger(*number, INT32_MIN, INT32_MAX)) {
            value = access::Value::fromInteger(*i);
        }
    }
    if (!value)
        throw std::invalid_argument("valeur invalide / invalid value for " + column.name + ": " +
                                    text);
    return *value;
}

int createDefault(const std::string& path) {
    access::TableSpec table;
    table.name = "Parametres";
    for (const char* name : {"FFR", "USD", "DEM"})
        table.columns.push_back({name, access::ColumnType::Double, 50});
    table.rows.push_back({access::Value::fromDouble(6.55957), access::Value::fromDouble(1.1),
                          access::Value::fromDouble(1.95583)});
    return writeFile(path, access::createDatabase(access::JetVersion::Jet4, table)) ? 0 : 1;
}

int create(const std::vector<std::string>& args) {
    if (args.empty())
        return usage();
    const std::string path = args[0];
    std::optional<access::JetVersion> version;
    access::TableSpec table;
    std::vector<std::string> rows;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--jet3") {
            version = access::JetVersion::Jet3;
        } else if (a == "--jet4") {
            version = access::JetVersion::Jet4;
        } else if (a == "--table" && hasValue) {
            table.name = args[++i];
        } else if (a == "--column" && hasValue) {
            table.columns.push_back(parseColumn(args[++i]));
        } else if (a == "--row" && hasValue) {
            rows.push_back(args[++i]);
        } else {
            return usage();
        }
    }
    if (!version || table.name.empty() || table.columns.empty())
        return usage();
    for (const auto& row : rows) {
        auto parts = table.columns.size() == 1 && row.empty() ? std::vector<std::string>{""}
                                                              : split(row, ',');
        if (parts.size() != table.columns.size())
            throw std::invalid_argument("nombre de valeurs incorrect / wrong number of values: " +
                                        row);
        std::vector<access::Value> values;
        for (std::size_t c = 0; c < parts.size(); ++c)
            values.push_back(parseValue(table.columns[c], parts[c]));
        table.rows.push_back(std::move(values));
    }
    return writeFile(path, access::createDatabase(*version, table)) ? 0 : 1;
}

int dump(const std::string& path) {
    access::Error error;
    auto db = access::Database::open(path, error);
    if (!db)
        return fail(error);
    const auto names = db->tableNames(error);
    if (error.number != 0)
        return fail(error);
    std::cout << "version\t" << (db->version() == access::JetVersion::Jet3 ? "jet3" : "jet4")
              << '\n';
    for (const auto& name : names) {
        auto table = db->readTable(name, error);
        if (!table)
            return fail(error);
        std::cout << "table\t" << table->name << '\n' << "columns";
        for (const auto& column : table->columns)
            std::cout << '\t' << column.name << ':' << detail::typeName(column, db->version());
        std::cout << '\n';
        for (const auto& row : table->rows) {
            std::cout << "row";
            for (const auto& value : row)
                std::cout << '\t' << detail::formatValue(value);
            std::cout << '\n';
        }
    }
    return 0;
}

int set(const std::vector<std::string>& args) {
    if (args.size() < 3)
        return usage();
    std::string separator = ".";
    std::vector<access::FieldUpdate> updates;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--separator" && i + 1 < args.size()) {
            separator = args[++i];
            continue;
        }
        const auto equal = args[i].find('=');
        if (equal == std::string::npos || equal == 0)
            return usage();
        updates.push_back({args[i].substr(0, equal), args[i].substr(equal + 1)});
    }
    if (updates.empty())
        return usage();
    access::Error error;
    if (!access::updateRecord(args[0], args[1], 0, updates, separator, error))
        return fail(error);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage();
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command == "create-default" && args.size() == 1)
            return createDefault(args[0]);
        if (command == "create")
            return create(args);
        if (command == "dump" && args.size() == 1)
            return dump(args[0]);
        if (command == "set")
            return set(args);
    } catch (const std::exception& e) {
        std::cerr << "Erreur : " << e.what() << '\n';
        return 2;
    }
    return usage();
}

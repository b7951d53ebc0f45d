// Database: opening a file and reading its tables.
#include "platform/access/access_internal.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace devimax::access {

using namespace detail;

namespace {

// Jet files never exceed 2 GB.
constexpr std::uint64_t kMaxFileSize = std::uint64_t{2} << 30;

} // namespace

namespace detail {

// Reads a whole regular file; sets error (3024, 3051, 3049) on failure.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, Error& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = makeError(
            errno == ENOENT || errno == ENOTDIR ? errc::FileNotFound : errc::CannotOpen, path);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = makeError(errc::CannotOpen, path, "Ce n'est pas un fichier ordinaire.");
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMaxFileSize) {
        ::close(fd);
        error = makeError(errc::UnrecognizedFormat, path, "Il est trop gros.");
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int saved = errno;
            ::close(fd);
            error = makeError(n < 0 && saved == EACCES ? errc::CannotOpen : errc::Damaged, path,
                              "La lecture a échoué.");
            return std::nullopt;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return bytes;
}

} // namespace detail

std::optional<Database> Database::open(const std::string& path, Error& error) {
    auto bytes = readWholeFile(path, error);
    if (!bytes)
        return std::nullopt;
    return fromBytes(std::move(*bytes), path, error);
}

std::optional<Database> Database::fromBytes(std::vector<std::uint8_t> bytes,
                                            const std::string& fileName, Error& error) {
    auto version = checkHeader(bytes, fileName, error);
    if (!version)
        return std::nullopt;
    Database db;
    db.bytes_ = std::move(bytes);
    db.fileName_ = fileName;
    db.version_ = *version;
    return db;
}

JetVersion Database::version() const {
    return version_;
}

std::vector<std::string> Database::tableNames(Error& error) const {
    error = Error{};
    const Image image(bytes_, formatOf(version_), fileName_);
    auto entries = image.catalog(error);
    std::vector<std::string> names;
    if (!entries)
        return names;
    for (const auto& entry : *entries)
        if (entry.userTable())
            names.push_back(entry.name);
    return names;
}

std::optional<Table> Database::readTable(std::string_view name, Error& error) const {
    const Image image(bytes_, formatOf(version_), fileName_);
    auto layout = findTable(image, name, error);
    if (!layout)
        return std::nullopt;
    auto rows = image.rows(*layout, error);
    if (!rows)
        return std::nullopt;
    Table table;
    table.name = layout->name;
    for (const auto& col : layout->columns)
        table.columns.push_back(col.column);
    table.rows.reserve(rows->size());
    for (const auto& row : *rows) {
        std::vector<Value> values;
        values.reserve(layout->columns.size());
        for (std::size_t i = 0; i < layout->columns.size(); ++i)
            values.push_back(image.decode(*layout, row, i));
        table.rows.push_back(std::move(values));
    }
    return table;
}

} // namespace devimax::access

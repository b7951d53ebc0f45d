// Formats, RC4, text encodings and error messages.
#include "platform/access/access_internal.h"

#include <array>

namespace devimax::access::detail {

namespace {

const Format kJet3{JetVersion::Jet3,
                   2048,
                   126,
                   8,
                   12,
                   20,
                   21,
                   23,
                   25,
                   27,
                   31,
                   35,
                   39,
                   43,
                   8,
                   18,
                   1,
                   3,
                   5,
                   9,
                   13,
                   14,
                   16,
                   1,
                   39,
                   0,
                   20,
                   128};

const Format kJet4{JetVersion::Jet4,
                   4096,
                   128,
                   12,
                   16,
                   40,
                   41,
                   43,
                   45,
                   47,
                   51,
                   55,
                   59,
                   63,
                   12,
                   25,
                   5,
                   7,
                   9,
                   11,
                   15,
                   21,
                   23,
                   2,
                   52,
                   4,
                   28,
                   64};

// Code points of bytes 0x80..0x9F in code page 1252 (0 = undefined).
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes UTF-8 into code points; nullopt on malformed input.
std::optional<std::vector<std::uint32_t>> decodeUtf8(std::string_view text) {
    std::vector<std::uint32_t> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return std::nullopt;
        }
        if (extra > 0 && i + extra >= text.size())
            return std::nullopt;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<std::uint8_t>(text[i + k]);
            if ((d & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (d & 0x3F);
        }
        static constexpr std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

} // namespace

const Format& formatOf(JetVersion version) {
    return version == JetVersion::Jet3 ? kJet3 : kJet4;
}

void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + s[i] + key[i % key.size()]);
        std::swap(s[i], s[j]);
    }
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (auto& byte : data) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + s[a]);
        std::swap(s[a], s[b]);
        byte ^= s[static_cast<std::uint8_t>(s[a] + s[b])];
    }
}

std::string cp1252ToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (auto b : bytes) {
        std::uint32_t cp = b;
        if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0)
            cp = kCp1252High[b - 0x80];
        appendUtf8(out, cp);
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> utf8ToCp1252(std::string_view text) {
    auto cps = decodeUtf8(text);
    if (!cps)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(cps->size());
    for (auto cp : *cps) {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<std::uint8_t>(cp));
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
            if (kCp1252High[k] == cp) {
                out.push_back(static_cast<std::uint8_t>(0x80 + k));
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return out;
}

std::string ucs2ToUtf8(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint16_t> units;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        bool compressed = true;
        std::size_t i = 2;
        while (i < bytes.size()) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                units.push_back(bytes[i]);
                ++i;
            } else if (i + 1 < bytes.size()) {
                units.push_back(get16(bytes.data() + i));
                i += 2;
            } else {
                break;
            }
        }
    } else {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            units.push_back(get16(bytes.data() + i));
    }
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> utf8ToUcs2(std::string_view text, bool compress) {
    auto cps = decodeUtf8(text);
    if (!cps)
        return std::nullopt;
    std::vector<std::uint16_t> units;
    for (auto cp : *cps) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(cp));
        }
    }
    bool compressible = compress && units.size() > 2;
    for (auto u : units)
        compressible = compressible && u >= 1 && u <= 0xFF;
    std::vector<std::uint8_t> out;
    if (compressible) {
        out.reserve(units.size() + 2);
        out.push_back(0xFF);
        out.push_back(0xFE);
        for (auto u : units)
            out.push_back(static_cast<std::uint8_t>(u));
        return out;
    }
    out.reserve(units.size() * 2);
    for (auto u : units) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

std::optional<std::size_t> utf8Length(std::string_view text) {
    auto cps = decodeUtf8(text);
    if (!cps)
        return std::nullopt;
    return cps->size();
}

std::string quoted(std::string_view text) {
    return "\xC2\xAB\xC2\xA0" + std::string(text) + "\xC2\xA0\xC2\xBB";
}

Error makeError(int number, const std::string& fileName, std::string_view detail) {
    std::string message;
    const std::string file = quoted(fileName);
    switch (number) {
    case errc::FileNotFound:
        message = "Le fichier " + file + " est introuvable.";
        break;
    case errc::CannotOpen:
        message = "Impossible d'ouvrir le fichier " + file + " : accès refusé.";
        break;
    case errc::ReadOnly:
        message = "Le fichier " + file + " est en lecture seule : les modifications ne peuvent " +
                  "pas être enregistrées.";
        break;
    case errc::WriteFailed:
        message = "Impossible d'écrire le fichier " + file + ".";
        break;
    case errc::UnrecognizedFormat:
        message = "Le fichier " + file + " n'est pas une base de données Access reconnue.";
        break;
    case errc::Damaged:
        message = "Le fichier " + file + " est endommagé.";
        break;
    default:
        message = "Erreur dans le fichier " + file + ".";
        break;
    }
    if (!detail.empty()) {
        message += ' ';
        message += detail;
    }
    return Error{number, std::move(message)};
}

Error damaged(const std::string& fileName, std::string_view detail) {
    return makeError(errc::Damaged, fileName, detail);
}

} // namespace devimax::access::detail

// The three national currencies of the exchange, by their number.
#pragma once

namespace devimax::exchange {

inline constexpr int kFranc = 1;
inline constexpr int kDollar = 2;
inline constexpr int kMark = 3;

inline bool isCurrency(int number) {
    return number >= kFranc && number <= kMark;
}

// "Franc", "Dollar" or "Mark"; the word names the currency in labels and menus.
inline const char* currencyWord(int number) {
    switch (number) {
    case kFranc:
        return "Franc";
    case kDollar:
        return "Dollar";
    case kMark:
        return "Mark";
    }
    return "";
}

} // namespace devimax::exchange

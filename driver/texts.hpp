#pragma once
// What the driver says (the prompt, the introduction screens, the listing), in
// each language. A text that a number or the typed line follows is equally
// long in every language, so that the number keeps its column.
#include <array>
#include <string_view>

#include "driver/language.hpp"

namespace cp {

// Only texts: the tests read a catalogue as an array of them.
struct DriverTexts {
    // The command prompt, then the line typed; the line after an F listing,
    // then the exponent.
    std::string_view prompt;
    std::string_view next_line;

    // Below the start table.
    std::string_view columns_note;
    std::string_view sums_note;
    std::string_view press_enter;

    // The text screen: what the program shows (the second line has the marker
    // between its two parts), the keys and codes, the claims, the warning.
    std::string_view intro_line1;
    std::string_view intro_line2_start;
    std::string_view intro_line2_end;
    std::string_view intro_line3;
    std::string_view intro_line4;
    std::string_view keys_pause;
    std::array<std::string_view, 4> keys_options;
    std::array<std::string_view, 8> keys_codes;
    std::array<std::string_view, 8> claims;
    std::string_view warning;

    // The listing: its header, whose last line the exponent follows; the line
    // in place of the rows left out, then their count; the closing line, then
    // the exponent and the variant; after its time, the prompt follows.
    std::array<std::string_view, 3> header_lines;
    std::string_view header_exponent_line;
    std::string_view skipped_rows_line;
    std::string_view closing_line;
    std::string_view plus_variant;
    std::string_view minus_variant;
    std::string_view listing_seconds;
};

extern const DriverTexts kGermanDriverTexts;
extern const DriverTexts kEnglishDriverTexts;

inline const DriverTexts& driver_texts(Language language) {
    return language == Language::English ? kEnglishDriverTexts : kGermanDriverTexts;
}

}  // namespace cp

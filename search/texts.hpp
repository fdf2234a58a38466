#pragma once
// What the search says, in each language. A text that a number follows is
// equally long in every language, so that the number keeps its column.
#include <string_view>

#include "driver/language.hpp"

namespace cp {

// Only texts: the tests read a catalogue as an array of them.
struct SearchTexts {
    std::string_view minus_note;       // the end of a 3n-1 row
    std::string_view first_odd_plus;   // 3n+1: the label, then 3p
    std::string_view first_odd_minus;  // 3n-1: after p
    std::string_view run_time_keys;    // the keys a running search takes, then the pause
    std::string_view run_time_answer;  // then the answer typed
    std::string_view result_legend;    // after the marker, then the difference
    std::string_view difference;       // then the percentage
    std::string_view seconds;          // after the search's time
};

extern const SearchTexts kGermanSearchTexts;
extern const SearchTexts kEnglishSearchTexts;

inline const SearchTexts& search_texts(Language language) {
    return language == Language::English ? kEnglishSearchTexts : kGermanSearchTexts;
}

}  // namespace cp

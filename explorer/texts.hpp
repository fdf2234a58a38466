#pragma once
// What the sequence explorer says, in each language. A text that a number
// follows is equally long in every language, so that the number keeps its
// column (and a long line breaks after the same value).
#include <string_view>

#include "driver/language.hpp"

namespace cp {

// Only texts: the tests read a catalogue as an array of them.
struct ExplorerTexts {
    // The entry codes' labels, each before "=" and the start value.
    std::string_view plain_label;          // "00"
    std::string_view compressed_label;     // "66", on a line of its own
    std::string_view successor_label;      // "77"
    std::string_view random_label;         // "75"
    std::string_view next_label;           // "88"
    std::string_view random_next_label;    // "99", before the first candidate
    std::string_view compressed_run_note;  // the end of a "66" run's closing line
    std::string_view marker_legend;        // 3n-1: what the red marker stands for
    std::string_view start_label;          // then the start value just shown
};

extern const ExplorerTexts kGermanExplorerTexts;
extern const ExplorerTexts kEnglishExplorerTexts;

inline const ExplorerTexts& explorer_texts(Language language) {
    return language == Language::English ? kEnglishExplorerTexts : kGermanExplorerTexts;
}

}  // namespace cp

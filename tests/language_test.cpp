// The English screens against the German ones: on every line every number
// stands in the same column, and no German word is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/numbers/bit_cast.hpp"
#include "driver/program.hpp"
#include "driver/texts.hpp"
#include "explorer/texts.hpp"
#include "scripted_terminal.hpp"
#include "search/permutation_search.hpp"
#include "search/texts.hpp"
#include "timed_session.hpp"

namespace cp {
namespace {

using testing::ScriptedTerminal;

// Every text of a catalogue, which holds nothing but texts.
template <typename Texts>
void add_texts(std::vector<std::string_view>& texts, const Texts& catalogue) {
    constexpr std::size_t count = sizeof(Texts) / sizeof(std::string_view);
    static_assert(count * sizeof(std::string_view) == sizeof(Texts));
    const auto all = bit_cast<std::array<std::string_view, count>>(catalogue);
    texts.insert(texts.end(), all.begin(), all.end());
}

std::vector<std::string_view> catalogue(Language language) {
    std::vector<std::string_view> texts;
    add_texts(texts, driver_texts(language));
    add_texts(texts, explorer_texts(language));
    add_texts(texts, search_texts(language));
    return texts;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// The rows a whole session leaves in its transcript. The test terminal's
// clock moves only when the program sleeps, so run times and random values
// come out the same in both languages.
std::vector<std::string> session(std::string keys, Language language) {
    std::replace(keys.begin(), keys.end(), '\n', '\r');
    ScriptedTerminal terminal(false);
    terminal.type(keys);
    Console console(terminal);
    State state;
    state.language = language;
    run_program(console, state);
    console.finish();
    return terminal.transcript();
}

// A search of 2^8 with its first odd values, slowed by the digit 5 and
// stopped at its run-time prompt.
std::vector<std::string> stopped_search(Language language) {
    ScriptedTerminal terminal(true);
    terminal.type("5 x\r");
    Console console(terminal);
    console.set_screen_size(900, 16000);
    State state;
    state.language = language;
    state.exponent = 8;
    state.firstOddOption = 1;
    run_search(console, state);
    console.finish();
    return terminal.transcript();
}

// The texts of a catalogue that hold digits: fixed prose, whose digits are no
// numbers of the program's.
std::vector<std::string_view> prose_with_digits(Language language) {
    std::vector<std::string_view> prose;
    for (std::string_view text : catalogue(language)) {
        if (std::none_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        // Without its blanks at either end, which hold no digit, a text is
        // found faster among the blanks of a line.
        text.remove_prefix(text.find_first_not_of(' '));
        text.remove_suffix(text.size() - 1 - text.find_last_not_of(' '));
        prose.push_back(text);
    }
    return prose;
}

using Numbers = std::vector<std::pair<std::size_t, std::string>>;

// The runs of digits of a line with the columns they start in, the prose blanked.
Numbers numbers_of(std::string line, const std::vector<std::string_view>& prose) {
    static const std::string kMarkerUtf8 = "\u25A0";
    for (std::size_t at = line.find(kMarkerUtf8); at != std::string::npos;
         at = line.find(kMarkerUtf8, at)) {
        line.replace(at, kMarkerUtf8.size(), "#");  // one column, as on the screen
    }
    for (const std::string_view text : prose) {
        if (text.size() > line.size()) continue;
        for (std::size_t at = line.find(text); at != std::string::npos; at = line.find(text, at))
            line.replace(at, text.size(), text.size(), ' ');
    }
    Numbers numbers;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] < '0' || line[at] > '9') continue;
        const std::size_t start = at;
        while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
        numbers.emplace_back(start, line.substr(start, at - start));
    }
    return numbers;
}

void expect_same_numbers(const std::vector<std::string>& german,
                         const std::vector<std::string>& english, const char* what) {
    const auto german_prose = prose_with_digits(Language::German);
    const auto english_prose = prose_with_digits(Language::English);
    ASSERT_EQ(german.size(), english.size()) << what;
    for (std::size_t i = 0; i < german.size(); ++i) {
        if (german[i] == english[i]) continue;  // most rows are only numbers
        ASSERT_EQ(numbers_of(german[i], german_prose), numbers_of(english[i], english_prose))
            << what << " line " << i + 1 << ":\n"
            << german[i] << "\n"
            << english[i];
    }
}

struct EnglishScreens : ::testing::Test {
    // bench/'s long session: every exponent in all four modes, the listings
    // and the explorer's runs.
    static void SetUpTestSuite() {
        const std::string keys = testing::read_file(COLLATZPERM_SESSION_KEYS);
        german_session = session(keys, Language::German);
        english_session = session(keys, Language::English);
    }
    static std::vector<std::string> german_session;
    static std::vector<std::string> english_session;
    // The golden tour, which has the first odd values and the short listing.
    const std::vector<std::string> german_tour =
        lines_of(testing::read_file(COLLATZPERM_GOLDEN_DIR "/tour.transcript"));
    const std::vector<std::string> english_tour =
        lines_of(testing::read_file(COLLATZPERM_GOLDEN_DIR "/tour_en.transcript"));
};
std::vector<std::string> EnglishScreens::german_session;
std::vector<std::string> EnglishScreens::english_session;

TEST_F(EnglishScreens, EveryNumberInTheColumnOfTheGermanScreen) {
    ASSERT_GT(german_session.size(), 60000u);
    expect_same_numbers(german_session, english_session, "session");
    ASSERT_GT(german_tour.size(), 800u);
    expect_same_numbers(german_tour, english_tour, "tour");
    expect_same_numbers(stopped_search(Language::German), stopped_search(Language::English),
                        "stopped search");
}

// German words of the catalogue that are English words as well, and the
// letters a running search takes.
const std::set<std::string> kAlsoEnglish = {
    "text",
    "clear",
    "enter",
    "max",
    "permutation",
    "stop",
    "go",
    "collatz",
    "mod",
    "next",
    "in",
    "an",
    "demo",
    "term",
    "plus",
    "minus",
    "abcdefghijklmnopqrstuvwxyz",
};

std::set<std::string> lower_case_words(std::string_view text) {
    std::set<std::string> words;
    std::string word;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        const auto c = static_cast<unsigned char>(at < text.size() ? text[at] : ' ');
        if (std::isalpha(c) != 0) {
            word += static_cast<char>(std::tolower(c));
            continue;
        }
        // Single letters are the commands' and the formulas'.
        if (word.size() > 1) words.insert(word);
        word.clear();
    }
    return words;
}

TEST_F(EnglishScreens, NoGermanWordIsLeft) {
    std::set<std::string> german;
    for (const std::string_view text : catalogue(Language::German)) {
        for (const std::string& word : lower_case_words(text))
            if (kAlsoEnglish.count(word) == 0) german.insert(word);
    }
    ASSERT_GT(german.size(), 100u);
    const auto expect_english = [&](std::string_view text, const char* where) {
        for (const std::string& word : lower_case_words(text))
            EXPECT_EQ(german.count(word), 0u) << where << ": " << word << " in\n" << text;
    };
    for (const std::string_view text : catalogue(Language::English)) {
        EXPECT_FALSE(text.empty());
        expect_english(text, "catalogue");
    }
    for (const std::string& line : english_tour) expect_english(line, "tour");
    for (const std::string& line : english_session) expect_english(line, "session");
    for (const std::string& line : stopped_search(Language::English))
        expect_english(line, "stopped search");
}

}  // namespace
}  // namespace cp

#pragma once
// The screens' language: German, the program's own, unless --language=en in
// front of the other arguments or COLLATZPERM_LANGUAGE=en in the environment
// asks for English. The locale does not switch it.
#include <span>
#include <string_view>

#include "driver/language.hpp"

namespace cp {

struct LanguageChoice {
    Language language = Language::German;
    // The arguments after the language options, for the rest of the command line.
    std::span<const std::string_view> rest;
    // Set when a language option names no language this program has: the
    // exit status of the usage error already reported.
    int error = 0;
};

// Takes the language options (--language=XX, or --language XX) from the front
// of the arguments; the last one counts, and any of them over the
// environment's COLLATZPERM_LANGUAGE. An environment value the program does
// not know is ignored: the program still starts, in German.
LanguageChoice choose_language(std::span<const std::string_view> arguments);

}  // namespace cp

#include "app/language.hpp"

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "app/command_line.hpp"

namespace cp {

namespace {

constexpr std::string_view kOption = "--language";
constexpr char kEnvironmentVariable[] = "COLLATZPERM_LANGUAGE";

constexpr std::array<std::pair<std::string_view, Language>, 2> kLanguages{{
    {"de", Language::German},
    {"en", Language::English},
}};

// "en", "EN" and "En" alike: a setting typed by hand need not mind its case.
std::optional<Language> language_named(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (const auto& [code, language] : kLanguages) {
        if (lower == code) return language;
    }
    return std::nullopt;
}

}  // namespace

LanguageChoice choose_language(std::span<const std::string_view> arguments) {
    LanguageChoice choice;
    if (const char* value = std::getenv(kEnvironmentVariable)) {
        choice.language = language_named(value).value_or(Language::German);
    }
    std::size_t taken = 0;
    while (taken < arguments.size()) {
        const std::string_view argument = arguments[taken];
        std::string_view name;
        if (argument == kOption) {
            if (taken + 1 == arguments.size()) {
                choice.error = report_usage_error("option '--language' needs a language: de or en");
                return choice;
            }
            name = arguments[taken + 1];
            taken += 2;
        } else if (argument.starts_with(kOption) && argument[kOption.size()] == '=') {
            name = argument.substr(kOption.size() + 1);
            taken += 1;
        } else {
            break;
        }
        const std::optional<Language> language = language_named(name);
        if (!language) {
            choice.error =
                report_usage_error("unknown language '" + std::string(name) + "' (de or en)");
            return choice;
        }
        choice.language = *language;
    }
    choice.rest = arguments.subspan(taken);
    return choice;
}

}  // namespace cp

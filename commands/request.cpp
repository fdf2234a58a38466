#include "commands/request.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

namespace cp {

namespace {

constexpr std::string_view kEndOfOptions = "--";

// Which commands take an option.
enum Takers : unsigned { kListings = 1, kSequence = 2, kHelp = 4, kAll = 7 };

struct OptionSpec {
    std::string_view name;
    unsigned takers;
    // What its value may be; empty for an option without one.
    std::string_view values;
};

constexpr std::string_view kVariantValues = "3n+1 or 3n-1";
constexpr std::string_view kFormatValues = "text, csv or json";
constexpr std::string_view kJobsValues = "1 to 1024";
constexpr std::string_view kPartValues = "K/N with 1 <= K <= N <= 10000";
constexpr std::string_view kProgressValues = "auto, always or never";

constexpr std::array kOptions = {
    OptionSpec{"--variant", kListings | kSequence, kVariantValues},
    OptionSpec{"--compressed", kListings | kSequence, {}},
    OptionSpec{"--format", kListings | kSequence, kFormatValues},
    OptionSpec{"--jobs", kListings, kJobsValues},
    OptionSpec{"--part", kListings, kPartValues},
    OptionSpec{"--progress", kListings, kProgressValues},
    OptionSpec{"--help", kAll, {}},
};
constexpr std::string_view kShortHelp = "-h";

constexpr std::string_view kExponentRange = "1 to 127";
constexpr std::string_view kCountRange = "1 <= A <= B <= 127";
constexpr std::string_view kCommandList = "search, count, sequence or help";
constexpr std::string_view kIntegerForm = "decimal digits, with - before a negative";

unsigned taker_of(Command command) {
    switch (command) {
        case Command::search:
        case Command::count:
            return kListings;
        case Command::sequence:
            return kSequence;
        case Command::help:
            return kHelp;
    }
    return 0;
}

std::string quoted(std::string_view text) {
    std::string shown(1, '\'');
    shown += text;
    shown += '\'';
    return shown;
}

std::string with_range(std::string problem, std::string_view range) {
    return problem + " (" + std::string(range) + ")";
}

bool all_digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A '-' followed by digits is a number, not an option.
bool is_number(std::string_view text) {
    return all_digits(text.starts_with('-') ? text.substr(1) : text);
}

// The value of a whole number as far as a range check needs it: past a
// billion it stays there.
std::optional<std::int64_t> whole_number(std::string_view text) {
    if (!is_number(text)) return std::nullopt;
    const bool negative = text.starts_with('-');
    std::int64_t value = 0;
    for (const char c : negative ? text.substr(1) : text) {
        value = std::min<std::int64_t>(value * 10 + (c - '0'), 1'000'000'000);
    }
    return negative ? -value : value;
}

// One exponent of a range, or what is wrong with it.
std::variant<std::int32_t, std::string> exponent_of(std::string_view text) {
    const auto value = whole_number(text);
    if (!value)
        return with_range("exponent " + quoted(text) + " is not a whole number", kExponentRange);
    if (*value < 1 || *value > kDeepestLevel) {
        return with_range("exponent " + std::string(text) + " is out of range", kExponentRange);
    }
    return static_cast<std::int32_t>(*value);
}

// The choice that `value` names.
template <class T>
std::optional<T> one_of(std::string_view value,
                        std::initializer_list<std::pair<std::string_view, T>> choices) {
    for (const auto& [name, choice] : choices) {
        if (value == name) return choice;
    }
    return std::nullopt;
}

class Reader {
  public:
    explicit Reader(CommandRequest& request) : request_(request) {}

    // The option `name` with `value` (none for a plain flag); an empty answer
    // when it is right.
    std::string option(const OptionSpec& option, std::string_view value) {
        const std::string shown = std::string(option.name) + "=" + std::string(value);
        if (option.name == "--compressed") {
            request_.rules.compressed = true;
        } else if (option.name == "--help") {
            request_.help = true;
        } else if (option.name == "--variant") {
            if (value != "3n+1" && value != "3n-1") {
                return with_range("unknown variant " + quoted(value), kVariantValues);
            }
            request_.rules.sign = value == "3n+1" ? +1 : -1;
        } else if (option.name == "--format") {
            const auto format = one_of<Format>(
                value, {{"text", Format::text}, {"csv", Format::csv}, {"json", Format::json}});
            if (!format) return with_range("unknown format " + quoted(value), kFormatValues);
            request_.format = *format;
        } else if (option.name == "--progress") {
            const auto progress = one_of<ProgressMode>(value, {{"auto", ProgressMode::automatic},
                                                               {"always", ProgressMode::always},
                                                               {"never", ProgressMode::never}});
            if (!progress) return with_range("unknown progress " + quoted(value), kProgressValues);
            request_.progress = *progress;
        } else if (option.name == "--jobs") {
            const auto jobs = whole_number(value);
            if (!jobs) return with_range(shown + " is not a whole number", kJobsValues);
            if (*jobs < 1 || *jobs > kMostJobs)
                return with_range(shown + " is out of range", kJobsValues);
            request_.jobs = static_cast<std::int32_t>(*jobs);
        } else if (option.name == "--part") {
            const std::size_t slash = value.find('/');
            const auto k = whole_number(value.substr(0, slash));
            const auto n = slash == std::string_view::npos ? std::nullopt
                                                           : whole_number(value.substr(slash + 1));
            if (!k || !n) return with_range(shown + " is not K/N", kPartValues);
            if (*k < 1 || *k > *n || *n > kMostParts) {
                return with_range(shown + " is out of range", kPartValues);
            }
            request_.part = static_cast<std::int32_t>(*k);
            request_.parts = static_cast<std::int32_t>(*n);
        }
        return {};
    }

    // The arguments that are not options; an empty answer when they are right.
    std::string positional(std::span<const std::string_view> words) {
        switch (request_.command) {
            case Command::search:
                return exponent(words);
            case Command::count:
                return range(words);
            case Command::sequence:
                return start(words);
            case Command::help:
                return topic(words);
        }
        return {};
    }

  private:
    std::string exponent(std::span<const std::string_view> words) {
        if (words.empty()) return with_range("missing exponent I", kExponentRange);
        if (words.size() > 1) {
            return with_range("unexpected argument " + quoted(words[1]),
                              "one exponent I, 1 to 127");
        }
        const auto exponent = exponent_of(words[0]);
        if (const auto* problem = std::get_if<std::string>(&exponent)) return *problem;
        request_.first = request_.last = std::get<std::int32_t>(exponent);
        return {};
    }

    std::string range(std::span<const std::string_view> words) {
        if (words.empty()) return with_range("missing exponents A..B or I", kCountRange);
        if (words.size() > 1) {
            return with_range("unexpected argument " + quoted(words[1]), "one range A..B or I");
        }
        const std::string_view text = words[0];
        const std::size_t dots = text.find("..");
        const std::string_view low = text.substr(0, dots);
        const std::string_view high = dots == std::string_view::npos ? low : text.substr(dots + 2);
        if (!whole_number(low) || !whole_number(high)) {
            return with_range(quoted(text) + " is not A..B or I", kCountRange);
        }
        const auto first = exponent_of(low);
        if (const auto* problem = std::get_if<std::string>(&first)) return *problem;
        const auto last = exponent_of(high);
        if (const auto* problem = std::get_if<std::string>(&last)) return *problem;
        request_.first = std::get<std::int32_t>(first);
        request_.last = std::get<std::int32_t>(last);
        if (request_.first > request_.last) {
            return with_range("range " + std::string(text) + " is empty", kCountRange);
        }
        return {};
    }

    std::string start(std::span<const std::string_view> words) {
        if (words.empty())
            return with_range("missing start value N", "an integer: " + std::string(kIntegerForm));
        if (words.size() > 1) {
            return with_range("unexpected argument " + quoted(words[1]), "one start value N");
        }
        if (!is_number(words[0]))
            return with_range(quoted(words[0]) + " is not an integer", kIntegerForm);
        request_.start = words[0];
        return {};
    }

    std::string topic(std::span<const std::string_view> words) {
        request_.help = true;
        if (words.empty()) return {};
        if (words.size() > 1) {
            return with_range("unexpected argument " + quoted(words[1]),
                              "one command: " + std::string(kCommandList));
        }
        request_.topic = command_word(words[0]);
        if (!request_.topic) return with_range("unknown command " + quoted(words[0]), kCommandList);
        return {};
    }

    CommandRequest& request_;
};

std::string option_list(unsigned taker) {
    std::string list;
    for (const OptionSpec& option : kOptions) {
        if ((option.takers & taker) == 0) continue;
        if (!list.empty()) list += ", ";
        list += option.name;
    }
    return list;
}

}  // namespace

std::optional<Command> command_word(std::string_view word) {
    for (const Command command :
         {Command::search, Command::count, Command::sequence, Command::help}) {
        if (word == command_name(command)) return command;
    }
    return std::nullopt;
}

std::string_view command_name(Command command) {
    switch (command) {
        case Command::search:
            return "search";
        case Command::count:
            return "count";
        case Command::sequence:
            return "sequence";
        case Command::help:
            return "help";
    }
    return {};
}

std::variant<CommandRequest, std::string> read_request(
    std::span<const std::string_view> arguments) {
    CommandRequest request;
    request.command = command_word(arguments.front()).value_or(Command::help);
    const unsigned taker = taker_of(request.command);
    Reader reader(request);
    std::vector<std::string_view> words;
    std::string problem;
    bool options_ended = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view word = arguments[i];
        if (options_ended || !word.starts_with('-') || word == "-" || is_number(word)) {
            words.push_back(word);
            continue;
        }
        if (word == kEndOfOptions) {
            options_ended = true;
            continue;
        }
        if (word == kShortHelp) {
            request.help = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string_view name = word.substr(0, equals);
        const auto* option = std::find_if(
            kOptions.begin(), kOptions.end(),
            [&](const OptionSpec& o) { return o.name == name && (o.takers & taker) != 0; });
        if (option == kOptions.end()) {
            if (problem.empty()) {
                problem = with_range("unknown option " + quoted(word), option_list(taker));
            }
            continue;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = word.substr(equals + 1);
            if (option->values.empty() && problem.empty()) {
                problem = "option " + quoted(name) + " takes no value";
            }
        } else if (!option->values.empty()) {
            // --format csv as well as --format=csv.
            if (i + 1 == arguments.size()) {
                if (problem.empty()) {
                    problem =
                        with_range("option " + quoted(name) + " needs a value", option->values);
                }
                continue;
            }
            value = arguments[++i];
        }
        if (std::string wrong = reader.option(*option, value); !wrong.empty() && problem.empty()) {
            problem = std::move(wrong);
        }
    }
    // --help anywhere asks for the help, whatever else is there.
    if (request.help && request.command != Command::help) return request;
    if (problem.empty()) problem = reader.positional(words);
    if (!problem.empty())
        return "collatzperm " + std::string(command_name(request.command)) + ": " + problem;
    return request;
}

}  // namespace cp

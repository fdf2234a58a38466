#pragma once
// One sequence from any integer, exactly, however long its digits: the values
// the commands for scripts hand over, far past 64 bits. Its big integers stay
// behind this header.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cp {

struct ExactStep {
    std::uint64_t step = 0;  // 0 is the start value
    std::string value;       // decimal, with '-' before a negative value
    // Set on the last record when its value came before: the step where it
    // first appeared.
    std::optional<std::uint64_t> repeat_of;
};

// The values from a start value down to 1, or to the first value that
// repeats (the cycles of 3n-1, zero, negative values): even values halve, an
// odd n becomes 3n + sign, or (3n + sign) / 2 when compressed.
class ExactSequence {
  public:
    // Nothing when `decimal` is not an integer: an optional '-', then digits.
    static std::optional<ExactSequence> start(std::string_view decimal, std::int32_t sign,
                                              bool compressed);
    ExactSequence(ExactSequence&&) noexcept;
    ExactSequence& operator=(ExactSequence&&) noexcept;
    ~ExactSequence();

    // The next record, from step 0 on; nothing after the last.
    std::optional<ExactStep> next();

  private:
    struct Run;
    explicit ExactSequence(std::unique_ptr<Run> run);
    std::unique_ptr<Run> run_;
};

}  // namespace cp

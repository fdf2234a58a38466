#include "explorer/exact_sequence.hpp"

#include <vector>

#include "console/numbers/decimal_writer.hpp"

#include <boost/multiprecision/cpp_int.hpp>

namespace cp {

namespace {

using Big = boost::multiprecision::cpp_int;

// Decimal text in pieces of 18 digits. Boost's own conversions go through the
// standard streams and locales, which the statically linked Windows program
// would carry whole (about 750 KB) for nothing else.
__extension__ using Wide = unsigned __int128;
constexpr std::size_t kPieceDigits = 18;
constexpr std::uint64_t kPiece = 1'000'000'000'000'000'000;

Big from_digits(std::string_view digits) {
    Big value = 0;
    std::size_t length = digits.size() % kPieceDigits;
    if (length == 0) length = kPieceDigits;
    for (std::size_t at = 0; at < digits.size(); at += length, length = kPieceDigits) {
        std::uint64_t piece = 0;
        std::uint64_t scale = 1;
        for (const char c : digits.substr(at, length)) {
            piece = piece * 10 + static_cast<std::uint64_t>(c - '0');
            scale *= 10;
        }
        value *= scale;
        value += piece;
    }
    return value;
}

std::string to_digits(const Big& value) {
    // The magnitude as 64-bit words, least significant first, whatever the
    // width of Boost's limbs on this platform.
    const auto& backend = value.backend();
    constexpr unsigned kLimbBits = sizeof(*backend.limbs()) * 8;
    std::vector<std::uint64_t> words((backend.size() * kLimbBits + 63) / 64);
    for (unsigned i = 0; i < backend.size(); ++i) {
        words[i * kLimbBits / 64] |= static_cast<std::uint64_t>(backend.limbs()[i])
                                     << (i * kLimbBits % 64);
    }
    while (!words.empty() && words.back() == 0) words.pop_back();
    std::vector<std::uint64_t> pieces;  // least significant first
    do {
        // Divides the words by 10^18 in place; the remainder is the next piece.
        std::uint64_t rest = 0;
        for (std::size_t i = words.size(); i-- > 0;) {
            const Wide part = (static_cast<Wide>(rest) << 64) | words[i];
            words[i] = static_cast<std::uint64_t>(part / kPiece);
            rest = static_cast<std::uint64_t>(part % kPiece);
        }
        while (!words.empty() && words.back() == 0) words.pop_back();
        pieces.push_back(rest);
    } while (!words.empty());
    const std::size_t sign = value.sign() < 0 ? 1 : 0;
    const auto top = static_cast<std::size_t>(detail::decimal_length(pieces.back()));
    std::string text(sign + top + kPieceDigits * (pieces.size() - 1), '-');
    detail::write_decimal_backward(text.data() + sign + top, pieces.back());
    char* at = text.data() + sign + top;
    for (std::size_t i = pieces.size() - 1; i-- > 0; at += kPieceDigits) {
        detail::write_decimal_fixed(at, static_cast<int>(kPieceDigits), pieces[i]);
    }
    return text;
}

// Values of fewer than 62 bits are their own key; larger ones are known by a
// 64-bit hash, which a match confirms by computing the earlier value again.
// The top bit tells the two kinds apart, so a small key is exact.
constexpr std::uint64_t kHashedKey = std::uint64_t{1} << 63;

std::uint64_t mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

struct Key {
    std::uint64_t bits = 0;
    bool exact = true;
};

Key key_of(const Big& value) {
    static const Big kSmall = Big(1) << 62;
    const bool negative = value.sign() < 0;
    if (negative ? -value < kSmall : value < kSmall) {
        const auto magnitude = (negative ? -value : value).convert_to<std::uint64_t>();
        return {(magnitude << 1) | (negative ? 1u : 0u), true};
    }
    const auto& backend = value.backend();
    std::uint64_t h = negative ? 0x9E3779B97F4A7C15ull : 0x2545F4914F6CDD1Dull;
    for (unsigned i = 0; i < backend.size(); ++i) {
        h = mix(h ^ static_cast<std::uint64_t>(backend.limbs()[i]));
    }
    return {h | kHashedKey, false};
}

// The step of every value so far, by key: open addressing, half full at most.
// Keys may repeat (hashes of different values); every entry of a key is kept.
class StepIndex {
  public:
    template <class Confirm>
    std::optional<std::uint64_t> find(Key key, Confirm&& same_value) const {
        if (slots_.empty()) return std::nullopt;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = mix(key.bits) & mask; slots_[i].step_plus_one != 0;
             i = (i + 1) & mask) {
            if (slots_[i].key != key.bits) continue;
            const std::uint64_t step = slots_[i].step_plus_one - 1;
            if (key.exact || same_value(step)) return step;
        }
        return std::nullopt;
    }

    void insert(Key key, std::uint64_t step) {
        if ((size_ + 1) * 2 > slots_.size()) grow();
        place({key.bits, step + 1});
        ++size_;
    }

  private:
    struct Slot {
        std::uint64_t key = 0;
        std::uint64_t step_plus_one = 0;  // 0: an empty slot
    };
    void place(Slot slot) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = mix(slot.key) & mask;
        while (slots_[i].step_plus_one != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
        for (const Slot& slot : old) {
            if (slot.step_plus_one != 0) place(slot);
        }
    }
    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

}  // namespace

struct ExactSequence::Run {
    Big start;
    Big value;
    std::int32_t sign = 1;
    bool compressed = false;
    std::uint64_t step = 0;
    bool finished = false;
    StepIndex seen;

    void advance(Big& v) const {
        if (bit_test(v, 0)) {
            v *= 3;
            v += sign;
            if (compressed) v >>= 1;
        } else {
            v >>= 1;  // even, so exact whichever way a negative value would round
        }
    }
    bool value_at_equals(std::uint64_t earlier) const {
        Big v = start;
        for (std::uint64_t i = 0; i < earlier; ++i) advance(v);
        return v == value;
    }
};

std::optional<ExactSequence> ExactSequence::start(std::string_view decimal, std::int32_t sign,
                                                  bool compressed) {
    if (sign != 1 && sign != -1) return std::nullopt;
    const bool negative = !decimal.empty() && decimal.front() == '-';
    std::string_view digits = decimal.substr(negative ? 1 : 0);
    if (digits.empty()) return std::nullopt;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    auto run = std::make_unique<Run>();
    run->start = from_digits(digits);
    if (negative) run->start = -run->start;
    run->value = run->start;
    run->sign = sign;
    run->compressed = compressed;
    return ExactSequence(std::move(run));
}

ExactSequence::ExactSequence(std::unique_ptr<Run> run) : run_(std::move(run)) {}
ExactSequence::ExactSequence(ExactSequence&&) noexcept = default;
ExactSequence& ExactSequence::operator=(ExactSequence&&) noexcept = default;
ExactSequence::~ExactSequence() = default;

std::optional<ExactStep> ExactSequence::next() {
    Run& run = *run_;
    if (run.finished) return std::nullopt;
    if (run.step > 0) run.advance(run.value);
    ExactStep record{run.step, to_digits(run.value), std::nullopt};
    if (run.value == 1) {
        run.finished = true;
        return record;
    }
    const Key key = key_of(run.value);
    record.repeat_of = run.seen.find(key, [&](std::uint64_t s) { return run.value_at_equals(s); });
    if (record.repeat_of) {
        run.finished = true;
    } else {
        run.seen.insert(key, run.step);
        ++run.step;
    }
    return record;
}

}  // namespace cp

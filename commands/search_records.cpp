#include "commands/search_records.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "console/numbers/decimal_writer.hpp"
#include "search/search_walk.hpp"

namespace cp {

namespace {

// The fields of a search record, in their order.
enum SearchField : std::size_t { kExponent, kRow, kStart, kMultiplications, kParity };

// Stop requests and the clock are looked at once per this many levels: often
// enough to stop within milliseconds, rarely enough to cost nothing.
constexpr std::int32_t kPollEvery = 1 << 14;
// A chunk that fills slowly still goes out this often.
constexpr auto kHandOverEvery = std::chrono::milliseconds(100);
constexpr std::size_t kWidestValue = 40;  // 2^128 has 39 digits

char* copy(char* p, std::string_view bytes) {
    std::memcpy(p, bytes.data(), bytes.size());
    return p + bytes.size();
}

// The decimal digits of v, right-aligned in `width`; returns the end.
char* put_right_aligned(char* p, std::uint64_t v, std::size_t width) {
    const auto digits = static_cast<std::size_t>(detail::decimal_length(v));
    const std::size_t pad = width > digits ? width - digits : 0;
    std::memset(p, ' ', pad);
    char* end = p + pad + digits;
    detail::write_decimal_backward(end, v);
    return end;
}

char* put_right_aligned(char* p, TreeValue v, std::size_t width) {
    if (v >> 64 == 0) return put_right_aligned(p, static_cast<std::uint64_t>(v), width);
    char digits[kWidestValue];
    const char* first = detail::write_wide_decimal_backward(digits + kWidestValue, v);
    const auto size = static_cast<std::size_t>(digits + kWidestValue - first);
    const std::size_t pad = width > size ? width - size : 0;
    std::memset(p, ' ', pad);
    return copy(p + pad, std::string_view(first, size));
}

// A value as field f of the layout takes it.
std::string padded(const RecordLayout& layout, std::size_t f, std::string_view value) {
    std::string text(layout.room(f, value.size()), ' ');
    text.resize(static_cast<std::size_t>(layout.put(text.data(), f, value) - text.data()));
    return text;
}

// Everything before a record's row.
std::string record_head(const RecordLayout& layout, std::int32_t exponent) {
    DecimalRoom room;
    return std::string(layout.around(kExponent)) +
           padded(layout, kExponent, decimal(room, static_cast<std::uint64_t>(exponent))) +
           std::string(layout.around(kRow));
}

// The walk's visitor: keeps the pattern as the parity vector and writes a
// record for each start number.
template <class Value, std::int32_t kSign, bool kCompressed>
class RecordVisitor {
  public:
    RecordVisitor(const ListingJob& job, std::optional<std::uint64_t> first_row, std::size_t task,
                  ChunkSink& sink)
        : job_(job),
          task_(task),
          sink_(sink),
          layout_(*job.layout),
          row_(first_row.value_or(1), job.layout->width(kRow)),
          numbered_(first_row.has_value()) {
        DecimalRoom room;
        if (numbered_) head_ = record_head(layout_, job.exponent);
        std::size_t m_width = 0;
        for (std::int32_t m = 0; m <= job.exponent; ++m) {
            multiplications_.push_back(
                padded(layout_, kMultiplications, decimal(room, static_cast<std::uint64_t>(m))));
            m_width = std::max(m_width, multiplications_.back().size());
        }
        record_room_ = head_.size() + layout_.room(kRow, kWidestValue) +
                       layout_.around(kStart).size() + layout_.room(kStart, kWidestValue) +
                       layout_.around(kMultiplications).size() + m_width +
                       layout_.around(kParity).size() + static_cast<std::size_t>(job.exponent) +
                       layout_.around(kParity + 1).size();
        chunk_.room(job.chunk_bytes + record_room_);
        last_hand_over_ = std::chrono::steady_clock::now();
    }

    static constexpr StepRules rules() { return {.sign = kSign, .compressed = kCompressed}; }

    bool stopped() {
        if (halted_) return true;
        if (--countdown_ > 0) return false;
        countdown_ = kPollEvery;
        if (job_.interrupt->load(std::memory_order_relaxed) ||
            job_.cancel->load(std::memory_order_relaxed)) {
            halted_ = true;
        } else if (!chunk_.empty() &&
                   std::chrono::steady_clock::now() - last_hand_over_ >= kHandOverEvery) {
            hand_over();
        }
        return halted_;
    }

    void mark(std::int64_t position, bool multiplication) {
        pattern_[position - 1] = multiplication ? '1' : '0';
    }

    void accepted(Value) {}
    void entered(Value, std::int64_t) {}

    void found(Value start, std::int64_t multiplications) {
        char* p = chunk_.room(record_room_);
        if (numbered_) {
            p = copy(p, head_);
            p = copy(p, row_.view());
            row_.count_on();
        }
        p = copy(p, layout_.around(kStart));
        p = put_right_aligned(p, start, layout_.width(kStart));
        p = copy(p, layout_.around(kMultiplications));
        p = copy(p, multiplications_[static_cast<std::size_t>(multiplications)]);
        p = copy(p, layout_.around(kParity));
        p = copy(p, std::string_view(pattern_, static_cast<std::size_t>(job_.exponent)));
        p = copy(p, layout_.around(kParity + 1));
        chunk_.commit(p);
        ++records_;
        if (chunk_.size() >= job_.chunk_bytes) hand_over();
    }

    // The part: its node's own path is the end of the pattern.
    std::optional<std::uint64_t> walk(const TreePart& part) {
        const TreeNode& node = part.node;
        const std::int32_t rest = job_.exponent - node.depth;
        for (std::int32_t k = 0; k < node.depth; ++k) {
            pattern_[rest + k] = ((node.steps >> k) & 1) != 0 ? '1' : '0';
        }
        const auto value = static_cast<Value>(node.value);
        if (rest == 0) {
            found(value, node.multiplications);
        } else if (rest > 0 && part.below) {
            searchLevel(*this, value, rest, node.multiplications);
        }
        if (!halted_ && !chunk_.empty()) hand_over();
        if (halted_) return std::nullopt;
        return records_;
    }

  private:
    void hand_over() {
        if (!sink_.take(task_, chunk_)) halted_ = true;
        chunk_.clear();
        chunk_.room(job_.chunk_bytes + record_room_);
        last_hand_over_ = std::chrono::steady_clock::now();
    }

    const ListingJob& job_;
    std::size_t task_;
    ChunkSink& sink_;
    const RecordLayout& layout_;
    std::string head_;  // everything before the row
    RowText row_;
    bool numbered_;
    std::vector<std::string> multiplications_;  // each count's text, padded
    std::size_t record_room_ = 0;
    ByteBuffer chunk_;
    char pattern_[kDeepestLevel + 1] = {};
    std::uint64_t records_ = 0;
    std::int32_t countdown_ = kPollEvery;
    bool halted_ = false;
    std::chrono::steady_clock::time_point last_hand_over_;
};

template <class Value>
std::optional<std::uint64_t> list_part_as(const ListingJob& job, const TreePart& part,
                                          std::optional<std::uint64_t> first_row, std::size_t task,
                                          ChunkSink& sink) {
    if (job.rules.sign > 0) {
        if (job.rules.compressed) {
            return RecordVisitor<Value, +1, true>(job, first_row, task, sink).walk(part);
        }
        return RecordVisitor<Value, +1, false>(job, first_row, task, sink).walk(part);
    }
    if (job.rules.compressed) {
        return RecordVisitor<Value, -1, true>(job, first_row, task, sink).walk(part);
    }
    return RecordVisitor<Value, -1, false>(job, first_row, task, sink).walk(part);
}

}  // namespace

std::optional<std::uint64_t> list_part(const ListingJob& job, const TreePart& part,
                                       std::optional<std::uint64_t> first_row, std::size_t task,
                                       ChunkSink& sink) {
    // Every value of depth d is at most 2^d: 64 bits hold a search to 2^63.
    if (job.exponent <= 63) return list_part_as<std::uint64_t>(job, part, first_row, task, sink);
    return list_part_as<TreeValue>(job, part, first_row, task, sink);
}

RowText::RowText(std::uint64_t row, std::size_t width) : width_(width) {
    std::memset(text_, ' ', sizeof text_);
    first_ =
        static_cast<std::size_t>(detail::write_decimal_backward(text_ + sizeof text_, row) - text_);
}

RowInserter::RowInserter(const RecordLayout& layout, std::int32_t exponent, std::uint64_t first_row)
    : head_(record_head(layout, exponent)), row_(first_row, layout.width(kRow)) {}

void RowInserter::append(ByteBuffer& out, std::string_view records) {
    while (!records.empty()) {
        const std::size_t size = records.find('\n') + 1;
        char* p = out.room(head_.size() + kWidestValue + size);
        p = copy(p, head_);
        p = copy(p, row_.view());
        p = copy(p, records.substr(0, size));
        out.commit(p);
        records.remove_prefix(size);
        row_.count_on();
    }
}

}  // namespace cp

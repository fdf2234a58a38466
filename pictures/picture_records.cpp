#include "pictures/picture_records.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "console/numbers/decimal_writer.hpp"
#include "console/strings.hpp"

namespace cp {

namespace {

// Handed over once this much has gathered: few calls to the page, and the
// records of a long search reach it while the search goes on.
constexpr std::size_t kLargeBatch = 64 * 1024;

std::string_view variant(std::int32_t sign) {
    return sign > 0 ? "3n+1" : "3n-1";
}

void append_decimal(std::string& out, std::uint64_t v) {
    char digits[20];
    char* end = digits + sizeof digits;
    out.append(detail::write_decimal_backward(end, v), end);
}

void append_decimal(std::string& out, std::int64_t v) {
    if (v < 0) out.push_back('-');
    append_decimal(out, v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v));
}

void append_decimal(std::string& out, ObservedValue v) {
    __extension__ using Unsigned = unsigned __int128;
    if (v < 0) out.push_back('-');
    const Unsigned magnitude = v < 0 ? 0 - static_cast<Unsigned>(v) : static_cast<Unsigned>(v);
    char digits[40];
    out.append(detail::write_wide_decimal_backward(digits + sizeof digits, magnitude),
               digits + sizeof digits);
}

char kind_letter(RunValueKind kind) {
    switch (kind) {
        case RunValueKind::start:
            return 's';
        case RunValueKind::halving:
            return 'h';
        case RunValueKind::odd_step:
            return 'm';
        case RunValueKind::random:
            return 'x';
        case RunValueKind::candidate:
            return 'c';
        case RunValueKind::repeat:
            return 'r';
    }
    return 'h';
}

}  // namespace

void PictureRecorder::line(std::string_view text) {
    char* p = out_.room(text.size() + 1);
    std::copy(text.begin(), text.end(), p);
    p[text.size()] = '\n';
    out_.commit(p + text.size() + 1);
}

void PictureRecorder::csv_line(std::string_view record) {
    if (record.ends_with('\n')) record.remove_suffix(1);
    char* p = out_.room(record.size() + 3);
    p[0] = 'c';
    p[1] = ',';
    std::copy(record.begin(), record.end(), p + 2);
    p[record.size() + 2] = '\n';
    out_.commit(p + record.size() + 3);
}

void PictureRecorder::hand_over_if_large() {
    if (out_.size() >= kLargeBatch) flush();
}

void PictureRecorder::flush() {
    if (out_.empty()) return;
    sink_(out_.view());
    out_.clear();
}

void PictureRecorder::command_prompt() {
    line("prompt");
    flush();
}

void PictureRecorder::search_started(std::int64_t exponent, std::int32_t sign, bool compressed) {
    search_layout_ = search_layout(Format::csv, static_cast<std::int32_t>(exponent));
    search_exponent_.clear();
    append_decimal(search_exponent_, exponent);
    variant_ = variant(sign);
    rows_.clear();
    row_ends_.clear();
    text_ = "search,";
    text_ += search_exponent_;
    text_ += ',';
    text_ += variant_;
    text_ += compressed ? ",1" : ",0";
    line(text_);
    csv_line(search_layout_.header());
}

void PictureRecorder::search_node(std::int64_t value, std::int64_t depth, bool multiplication) {
    text_ = "n,";
    append_decimal(text_, depth);
    text_ += ',';
    append_decimal(text_, value);
    text_ += multiplication ? ",1" : ",0";
    line(text_);
    hand_over_if_large();
}

void PictureRecorder::search_row(std::int64_t start, std::int64_t multiplications,
                                 std::string_view pattern) {
    // The record as `collatzperm search --format=csv` writes it.
    DecimalRoom row_room;
    DecimalRoom start_room;
    DecimalRoom m_room;
    std::string parity(pattern.size(), '0');
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (pattern[k] == kMarker) parity[k] = '1';
    }
    const std::array<std::optional<std::string_view>, 5> values = {
        search_exponent_, decimal(row_room, row_ends_.size() + 1),
        decimal(start_room, static_cast<std::uint64_t>(start)),
        decimal(m_room, static_cast<std::uint64_t>(multiplications)), parity};
    record_.clear();
    search_layout_.append(record_, values);
    std::string_view record = record_.view();
    record.remove_suffix(1);
    rows_ += record;
    row_ends_.push_back(rows_.size());
    csv_line(record);
    hand_over_if_large();
}

void PictureRecorder::search_ended(bool stopped) {
    line(stopped ? "end,1" : "end,0");
}

void PictureRecorder::run_started(std::string_view code, std::int32_t sign, bool compressed) {
    printed_.clear();
    shown_from_ = 0;
    text_ = "run,";
    text_ += code;
    text_ += ',';
    text_ += variant(sign);
    text_ += compressed ? ",1" : ",0";
    line(text_);
    csv_line(sequence_layout_.header());
}

void PictureRecorder::run_value(ObservedValue value, RunValueKind kind) {
    text_ = "v,";
    text_ += kind_letter(kind);
    text_ += ',';
    const std::size_t digits = text_.size();
    append_decimal(text_, value);
    line(text_);
    // The record as `collatzperm sequence --format=csv` writes it: a repeat
    // names the step where its value came first.
    const std::string_view value_text = std::string_view(text_).substr(digits);
    DecimalRoom step_room;
    DecimalRoom repeat_room;
    std::optional<std::string_view> repeat_of;
    if (kind == RunValueKind::candidate) shown_from_ = printed_.size();
    if (kind == RunValueKind::repeat) {
        // Since the start or the last candidate: a candidate's check prints
        // only the repeat that rejects it.
        const auto from = printed_.begin() + static_cast<std::ptrdiff_t>(shown_from_);
        const auto first = std::find(from, printed_.end(), value);
        if (first != printed_.end()) {
            repeat_of = decimal(repeat_room, static_cast<std::uint64_t>(first - printed_.begin()));
        }
    }
    record_.clear();
    append_sequence_record(sequence_layout_, record_, decimal(step_room, printed_.size()),
                           value_text, repeat_of);
    csv_line(record_.view());
    printed_.push_back(value);
    hand_over_if_large();
}

void PictureRecorder::run_replaced(ObservedValue by) {
    text_ = "replaced,";
    append_decimal(text_, by);
    line(text_);
}

void PictureRecorder::run_ended() {
    line("end");
}

void PictureRecorder::listing_started(char form) {
    text_ = "listing,";
    text_ += form;
    text_ += ',';
    text_ += variant_;
    line(text_);
    csv_line(search_layout_.header());
}

void PictureRecorder::listing_row(std::int64_t index, std::int64_t start) {
    const auto k = static_cast<std::size_t>(index);
    if (index >= 0 && k < row_ends_.size()) {
        const std::size_t begin = k == 0 ? 0 : row_ends_[k - 1];
        csv_line(std::string_view(rows_).substr(begin, row_ends_[k] - begin));
    }
    text_ = "row,";
    append_decimal(text_, index);
    text_ += ',';
    append_decimal(text_, start);
    line(text_);
}

void PictureRecorder::listing_value(std::int64_t value, bool multiplication) {
    text_ = multiplication ? "v,m," : "v,h,";
    append_decimal(text_, value);
    line(text_);
    hand_over_if_large();
}

void PictureRecorder::listing_ended() {
    line("end");
}

}  // namespace cp

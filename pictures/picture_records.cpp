#include "pictures/picture_records.hpp"

#include <algorithm>

#include "console/numbers/decimal_writer.hpp"
#include "console/strings.hpp"

namespace cp {

namespace {

// Handed over once this much has gathered: few calls to the page, and the
// records of a long search reach it while the search goes on.
constexpr std::size_t kLargeBatch = 64 * 1024;
constexpr std::string_view kSearchHeader = "c,exponent,row,start,multiplications,parity";
constexpr std::string_view kSequenceHeader = "c,step,value,repeat_of";

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
    Unsigned magnitude = v < 0 ? 0 - static_cast<Unsigned>(v) : static_cast<Unsigned>(v);
    // Nineteen digits at a time, the last first.
    constexpr std::uint64_t kPiece = 10'000'000'000'000'000'000u;
    char digits[40];
    char* first = digits + sizeof digits;
    while (magnitude >> 64 != 0) {
        const auto low = static_cast<std::uint64_t>(magnitude % kPiece);
        magnitude /= kPiece;
        first -= 19;
        detail::write_decimal_fixed(first, 19, low);
    }
    first = detail::write_decimal_backward(first, static_cast<std::uint64_t>(magnitude));
    out.append(first, digits + sizeof digits);
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
    line(kSearchHeader);
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
    const std::size_t begin = rows_.size();
    rows_ += search_exponent_;
    rows_ += ',';
    append_decimal(rows_, static_cast<std::uint64_t>(row_ends_.size() + 1));
    rows_ += ',';
    append_decimal(rows_, start);
    rows_ += ',';
    append_decimal(rows_, multiplications);
    rows_ += ',';
    for (const char step : pattern) rows_ += step == kMarker ? '1' : '0';
    row_ends_.push_back(rows_.size());
    text_ = "c,";
    text_.append(rows_, begin);
    line(text_);
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
    line(kSequenceHeader);
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
    const std::string value_text = text_.substr(digits);
    text_ = "c,";
    append_decimal(text_, static_cast<std::uint64_t>(printed_.size()));
    text_ += ',';
    text_ += value_text;
    text_ += ',';
    if (kind == RunValueKind::candidate) shown_from_ = printed_.size();
    if (kind == RunValueKind::repeat) {
        // Since the start or the last candidate: a candidate's check prints
        // only the repeat that rejects it.
        const auto from = printed_.begin() + static_cast<std::ptrdiff_t>(shown_from_);
        const auto first = std::find(from, printed_.end(), value);
        if (first != printed_.end()) {
            append_decimal(text_, static_cast<std::uint64_t>(first - printed_.begin()));
        }
    }
    line(text_);
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
    line(kSearchHeader);
}

void PictureRecorder::listing_row(std::int64_t index, std::int64_t start) {
    const auto k = static_cast<std::size_t>(index);
    if (index >= 0 && k < row_ends_.size()) {
        text_ = "c,";
        text_.append(rows_, k == 0 ? 0 : row_ends_[k - 1],
                     row_ends_[k] - (k == 0 ? 0 : row_ends_[k - 1]));
        line(text_);
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

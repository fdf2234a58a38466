#include "console/screen.hpp"

#include <cstring>

namespace cp {

namespace {
// Most rows the program writes are 80 to 120 cells long: a fresh row gets
// room for that many at once rather than growing to it in three steps.
constexpr std::size_t kFirstCells = 128;
constexpr std::size_t kMaxCells = 65535;
}  // namespace

void Screen::Runs::grow() {
    const auto capacity =
        static_cast<std::uint16_t>(std::min<std::size_t>(2u * capacity_, kMaxCells));
    auto more = std::make_unique<ColourRun[]>(capacity);
    std::copy_n(data(), size_, more.get());
    outside_ = std::move(more);
    capacity_ = capacity;
}

void Screen::Runs::replace(std::size_t first, std::size_t last, std::span<const ColourRun> with) {
    const std::size_t size = size_ - (last - first) + with.size();
    while (capacity_ < size) grow();
    ColourRun* runs = data();
    // The runs after `last` move to their place, then `with` goes in.
    if (with.size() > last - first) {
        std::copy_backward(runs + last, runs + size_, runs + size);
    } else {
        std::copy(runs + last, runs + size_, runs + first + with.size());
    }
    std::copy(with.begin(), with.end(), runs + first);
    size_ = static_cast<std::uint16_t>(size);
}

Screen::Screen(std::int32_t columns, std::int32_t rows)
    : columns_(std::min(columns, kMaxColumns)), rows_(rows) {
    ring_.resize(static_cast<std::size_t>(rows));
    blocks_.resize((ring_.size() + kRowsPerBlock - 1) / kRowsPerBlock);
}

void Screen::resize(std::int32_t columns, std::int32_t rows) {
    columns_ = std::min(columns, kMaxColumns);
    rows_ = rows;
    ring_.clear();
    ring_.resize(static_cast<std::size_t>(rows));
    blocks_.clear();
    blocks_.resize((ring_.size() + kRowsPerBlock - 1) / kRowsPerBlock);
    used_.clear();
    top_ = 0;
    clear_fill_ = attribute();
    cursor_row_ = 0;
    cursor_column_ = 0;
    wrap_pending_ = false;
}

void Screen::clear() {
    // Only rows that ever held cells need work; the rest take the new clear colour.
    for (std::size_t p : used_) ring_[p] = Row{};
    used_.clear();
    for (std::unique_ptr<char[]>& block : blocks_) block.reset();
    clear_fill_ = attribute();
    cursor_row_ = 0;
    cursor_column_ = 0;
    wrap_pending_ = false;
}

const ColourRun* Screen::run_at(const Row& row, std::size_t c) {
    if (c == 0) return row.runs.begin();  // a whole row
    const ColourRun* after = std::upper_bound(
        row.runs.begin(), row.runs.end(), c,
        [](std::size_t column, const ColourRun& run) { return column < run.start; });
    return after - 1;
}

Cell Screen::cell(std::int32_t r, std::int32_t c) const {
    if (r < 0 || r >= rows_) return {};
    const Row& rw = row(r);
    if (c >= 0 && c < rw.length) {
        const auto at = static_cast<std::size_t>(c);
        return {rw.text[at], run_at(rw, at)->attribute};
    }
    return {' ', fill_of(rw)};
}

std::string_view Screen::row_text(std::int32_t r) const {
    if (r < 0 || r >= rows_) return {};
    const Row& rw = row(r);
    return {rw.text, rw.length};
}

void Screen::paint(Row& row, std::size_t from, std::size_t to, Attribute attribute) {
    Runs& runs = row.runs;
    const std::size_t length = row.length;
    // Text that goes on past the end of the row's last run.
    if (runs.empty() || (from > runs.back().start && to >= length)) {
        if (runs.empty() || runs.back().attribute != attribute)
            runs.push_back({static_cast<std::uint16_t>(from), attribute});
        return;
    }
    // Runs starting within from .. to go; the colour at `to` resumes there.
    const ColourRun* first = std::lower_bound(
        runs.begin(), runs.end(), from,
        [](const ColourRun& run, std::size_t column) { return run.start < column; });
    const ColourRun* after = std::upper_bound(
        first, runs.end(), to,
        [](std::size_t column, const ColourRun& run) { return column < run.start; });
    const Attribute resumed = (after - 1)->attribute;
    std::array<ColourRun, 2> with{};
    std::size_t count = 0;
    if (first == runs.begin() || (first - 1)->attribute != attribute) {
        with[count++] = {static_cast<std::uint16_t>(from), attribute};
    }
    if (to < length && resumed != attribute)
        with[count++] = {static_cast<std::uint16_t>(to), resumed};
    runs.replace(static_cast<std::size_t>(first - runs.begin()),
                 static_cast<std::size_t>(after - runs.begin()), std::span(with).first(count));
}

void Screen::make_room(Row& row, std::size_t end) {
    if (row.capacity == 0 && end <= kFirstCells) {
        // A fresh row: its slot, in a block allocated once for it and its neighbours.
        const std::size_t p = physical(cursor_row_);
        std::unique_ptr<char[]>& block = blocks_[p / kRowsPerBlock];
        if (!block) block = std::make_unique<char[]>(kRowsPerBlock * kFirstCells);
        row.text = block.get() + p % kRowsPerBlock * kFirstCells;
        row.capacity = kFirstCells;
        return;
    }
    // Grown by half rather than doubled: a full screen of rows that each kept
    // twice their text was most of the program's memory.
    const std::size_t capacity =
        std::min(std::max({end, std::size_t{row.capacity} * 3 / 2, kFirstCells}), kMaxCells);
    auto own = std::make_unique<char[]>(capacity);
    std::copy_n(row.text, row.length, own.get());
    row.own = std::move(own);
    row.text = row.own.get();
    row.capacity = static_cast<std::uint16_t>(capacity);
}

void Screen::put_slowly(Row& row, std::string_view bytes, std::size_t start) {
    const std::size_t end = start + bytes.size();
    if (row.capacity < end) make_room(row, end);
    if (row.length < start) blank_to(row, start);
    paint(row, start, end, attribute());
    std::copy_n(bytes.data(), bytes.size(), row.text + start);
    row.length = static_cast<std::uint16_t>(std::max<std::size_t>(row.length, end));
}

void Screen::list(Row& row) {
    used_.push_back(physical(cursor_row_));
    row.listed = true;
}

void Screen::blank_to(Row& row, std::size_t start) {
    Runs& runs = row.runs;
    const Attribute fill = fill_of(row);
    if (runs.empty() || runs.back().attribute != fill) runs.push_back({row.length, fill});
    std::memset(row.text + row.length, ' ', start - row.length);
    row.length = static_cast<std::uint16_t>(start);
}

void Screen::scroll_up() {
    // The top row's storage becomes the new bottom row, blank in the current colours.
    Row& recycled = ring_[top_];
    recycled.length = 0;
    recycled.runs.clear();
    recycled.own_fill = true;
    recycled.fill = attribute();
    if (!recycled.listed) {
        used_.push_back(top_);
        recycled.listed = true;
    }
    top_ = top_ + 1 == ring_.size() ? 0 : top_ + 1;
}

}  // namespace cp

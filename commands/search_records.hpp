#pragma once
// The records of a search for scripts, from the shared walk: a part of the
// tree walked into chunks of whole records, numbered on from the part's first
// row. Where that row is not known yet (the parts before it are still being
// walked), the chunks hold the records without their beginning, the exponent
// and the row, and a row inserter completes them once it is known. Where that row is not known yet
// (the parts before it are still being walked), the chunks hold the records without their
// beginning, the exponent and the row, and a row inserter completes them once it is known.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "commands/record_layout.hpp"
#include "console/byte_buffer.hpp"
#include "search/tree.hpp"

namespace cp {

// Where the chunks of a listing go, in the order of their parts.
class ChunkSink {
  public:
    virtual ~ChunkSink() = default;
    // Part `task`'s next records, whole ones; takes them out of `chunk`.
    // False: stop walking.
    virtual bool take(std::size_t task, ByteBuffer& chunk) = 0;
};

struct ListingJob {
    StepRules rules;
    std::int32_t exponent = 1;
    const RecordLayout* layout = nullptr;
    // Polled while walking; either one stops the walk.
    const std::atomic<bool>* interrupt = nullptr;
    const std::atomic<bool>* cancel = nullptr;
    std::size_t chunk_bytes = 64 * 1024;
};

// Walks one part of the tree (a record if its node is as deep as the
// exponent, the records under it if it has `below`), its records numbered
// from `first_row` on, or left without their beginning when there is none.
// The number of records, or nothing when stopped.
std::optional<std::uint64_t> list_part(const ListingJob& job, const TreePart& part,
                                       std::optional<std::uint64_t> first_row, std::size_t task,
                                       ChunkSink& sink);

// A record's row: its digits right-aligned in blanks, so that text takes
// them padded and CSV and JSON without the blanks.
class RowText {
  public:
    RowText(std::uint64_t row, std::size_t width);
    std::string_view view() const {
        const std::size_t size = std::max(sizeof text_ - first_, width_);
        return {text_ + sizeof text_ - size, size};
    }
    void count_on() {
        std::size_t i = sizeof text_;
        while (text_[--i] == '9') text_[i] = '0';
        if (text_[i] == ' ') {
            text_[i] = '1';
            first_ = i;
        } else {
            ++text_[i];
        }
    }

  private:
    char text_[40];
    std::size_t first_;
    std::size_t width_;
};

// Puts the exponent and the row in front of records that lack them,
// numbering them on from `first_row`.
class RowInserter {
  public:
    RowInserter(const RecordLayout& layout, std::int32_t exponent, std::uint64_t first_row);
    void append(ByteBuffer& out, std::string_view records);

  private:
    std::string head_;
    RowText row_;
};

}  // namespace cp

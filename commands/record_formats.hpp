#pragma once
// The fields of the records of `search` and `sequence`, in each format: the
// commands write them, and so do the page's pictures, whose CSV is theirs.
#include <cstdint>
#include <optional>
#include <string_view>

#include "commands/record_layout.hpp"

namespace cp {

RecordLayout search_layout(Format format, std::int32_t exponent);
RecordLayout sequence_layout(Format format);

// One record of `sequence`, its values in the order the format takes them.
void append_sequence_record(const RecordLayout& layout, ByteBuffer& out, std::string_view step,
                            std::string_view value, std::optional<std::string_view> repeat_of);

}  // namespace cp

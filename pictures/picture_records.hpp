#pragma once
// The pictures' records: what the program shows, told by the observer, as
// lines of text for the page that draws it beside the terminal. Each line
// starts with its kind:
//   search,I,VARIANT,COMPRESSED     a search begins (VARIANT 3n+1 or 3n-1)
//   n,DEPTH,VALUE,M                 a value of its walk; M 1 when it came by a multiplication
//   end,STOPPED                     the search ends (STOPPED 1 when stopped early)
//   run,CODE,VARIANT,COMPRESSED     a sequence run begins (CODE 00 66 75 77 88 99 A C 0)
//   v,KIND,VALUE                    a value it prints: s start, h halving, m odd step,
//                                   x odd step of a random value, c candidate, r repeat
//   replaced,VALUE                  3n-1's guard list put VALUE in the start's place
//   listing,FORM,VARIANT            a listing F, D or G begins
//   row,INDEX,START                 a listed row; its terms follow as v lines (h or m)
//   end                             the run or listing ends
//   prompt                          the program waits for a command
//   c,RECORD                        a line of the picture's CSV, header first: a search's
//                                   and a listing's rows as `search` writes them, a run's
//                                   values as `sequence` writes them
// Records are collected and handed over in large pieces: when the program
// waits for a command, and whenever many have gathered.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/record_formats.hpp"
#include "console/byte_buffer.hpp"
#include "driver/observer.hpp"

namespace cp {

class PictureRecorder final : public Observer {
  public:
    using Sink = std::function<void(std::string_view)>;
    explicit PictureRecorder(Sink sink) : sink_(std::move(sink)) {}

    void command_prompt() override;

    void search_started(std::int64_t exponent, std::int32_t sign, bool compressed) override;
    void search_node(std::int64_t value, std::int64_t depth, bool multiplication) override;
    void search_row(std::int64_t start, std::int64_t multiplications,
                    std::string_view pattern) override;
    void search_ended(bool stopped) override;

    void run_started(std::string_view code, std::int32_t sign, bool compressed) override;
    void run_value(ObservedValue value, RunValueKind kind) override;
    void run_replaced(ObservedValue by) override;
    void run_ended() override;

    void listing_started(char form) override;
    void listing_row(std::int64_t index, std::int64_t start) override;
    void listing_value(std::int64_t value, bool multiplication) override;
    void listing_ended() override;

    // Hands over what has gathered.
    void flush();

  private:
    void line(std::string_view text);
    // A record of the layout, or its header, as a CSV line.
    void csv_line(std::string_view record);
    void hand_over_if_large();

    Sink sink_;
    ByteBuffer out_;
    RecordLayout search_layout_ = search_layout(Format::csv, 1);
    const RecordLayout sequence_layout_ = sequence_layout(Format::csv);
    ByteBuffer record_;
    // The last search's rows as CSV records, for the listings of its table.
    std::string search_exponent_;
    std::string_view variant_ = "3n+1";
    std::string rows_;
    std::vector<std::size_t> row_ends_;
    // The values a run has printed, for the step a repeat first came.
    std::vector<ObservedValue> printed_;
    std::size_t shown_from_ = 0;
    std::string text_;
};

}  // namespace cp

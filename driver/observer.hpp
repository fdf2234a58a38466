#pragma once
// What the program shows, told as it shows it to whoever draws it beside the
// screen (the web page's pictures): the values of a search's walk and its
// rows, the values of a sequence run, the rows of a listing, and the moment
// the prompt waits for a command. Nobody watches on a terminal: the state's
// observer is null there, and each report costs the test of that pointer.
#include <cstdint>
#include <string_view>

namespace cp {

// A sequence run's values are exact in 128 bits.
__extension__ using ObservedValue = __int128;

// How a value of a sequence run came to be printed.
enum class RunValueKind {
    start,      // the start value after "="
    halving,    // an even value halved
    odd_step,   // the odd step (3n+s, n+s for "77", halved when compressed; "66": its jump)
    random,     // the odd step of a random odd value put in the odd value's place ("75")
    candidate,  // a candidate start value of "88" or "99", after its red marker
    repeat,     // a value met again, ending the run or rejecting a candidate
};
// A value past 128 bits, which ends a run, is shown inexactly and not told.

class Observer {
  public:
    virtual ~Observer() = default;

    // The prompt is shown and its line is about to be read.
    virtual void command_prompt() = 0;

    virtual void search_started(std::int64_t exponent, std::int32_t sign, bool compressed) = 0;
    // A value the walk takes, `depth` steps above 1 and below the start numbers;
    // `multiplication`: its step to its parent is a multiplication.
    virtual void search_node(std::int64_t value, std::int64_t depth, bool multiplication) = 0;
    // A row: its start number, its multiplications and its step pattern, one
    // character per step ('.' or the marker).
    virtual void search_row(std::int64_t start, std::int64_t multiplications,
                            std::string_view pattern) = 0;
    virtual void search_ended(bool stopped) = 0;

    // `code`: "00", "66", "75", "77", "88", "99", or the command "A", "C", "0"
    // (another line beginning with A or C is "A" or "C").
    virtual void run_started(std::string_view code, std::int32_t sign, bool compressed) = 0;
    virtual void run_value(ObservedValue value, RunValueKind kind) = 0;
    // The guard list of 3n-1 put this value in the typed start's place.
    virtual void run_replaced(ObservedValue by) = 0;
    virtual void run_ended() = 0;

    // `form`: 'F', 'D' or 'G'.
    virtual void listing_started(char form) = 0;
    // Row `index` of the last search's table; its terms follow.
    virtual void listing_row(std::int64_t index, std::int64_t start) = 0;
    virtual void listing_value(std::int64_t value, bool multiplication) = 0;
    virtual void listing_ended() = 0;
};

}  // namespace cp

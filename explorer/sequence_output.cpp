#include "explorer/sequence_output.hpp"

#include <algorithm>

#include "console/numbers/number_format.hpp"
#include "console/strings.hpp"

namespace cp {

void SequenceOutput::value(Real v) {
    text_.clear();
    append_number_text(text_, v);
    console_.print_text(text_);
}

void SequenceOutput::compact(SequenceValue v) {
    if (!counts_as_odd(v)) {
        console_.print_text(".");
        return;
    }
    text_.clear();
    append_number_text(text_, as_real(v));
    text_.erase(std::remove(text_.begin(), text_.end(), ' '), text_.end());
    console_.print_text(text_);
}

void SequenceOutput::marker() {
    static constexpr char kBlankAndMarker[] = {' ', kMarker};
    console_.set_color(kMarkerColour, -1);
    console_.print_text(std::string_view(kBlankAndMarker, sizeof kBlankAndMarker));
}

void SequenceOutput::wrap_check() {
    if (console_.cursor_column() > kWrapColumn) console_.print_newline();
}

}  // namespace cp

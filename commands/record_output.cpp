#include "commands/record_output.hpp"

namespace cp {

bool RecordOutput::write() {
    if (failure_ == WriteFailure::none && !text_.empty()) failure_ = sink_.write(text_.view());
    text_.clear();
    return failure_ == WriteFailure::none;
}

}  // namespace cp

namespace cp {

bool RecordOutput::write(std::string_view bytes) {
    if (!write()) return false;
    if (!bytes.empty()) failure_ = sink_.write(bytes);
    return failure_ == WriteFailure::none;
}

}  // namespace cp

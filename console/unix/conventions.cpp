#include "console/conventions.hpp"

namespace cp {

// "/?" is a path pattern here, not an option.
const CommandLineConventions& command_line_conventions() {
    return kUnixConventions;
}

}  // namespace cp

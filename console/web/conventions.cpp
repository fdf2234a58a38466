#include "console/conventions.hpp"

namespace cp {

// The node program is run from a POSIX shell; the page reads no command line.
const CommandLineConventions& command_line_conventions() {
    return kUnixConventions;
}

}  // namespace cp

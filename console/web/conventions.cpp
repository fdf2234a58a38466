#include "console/conventions.hpp"

namespace cp {

// "/?" is a path pattern here, not an option.
bool takes_slash_help() {
    return false;
}

}  // namespace cp

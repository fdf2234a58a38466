#include "console/conventions.hpp"

namespace cp {

// As cmd.exe's own commands do.
bool takes_slash_help() {
    return true;
}

}  // namespace cp

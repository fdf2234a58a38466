#pragma once
// The habits of the platform's own command-line programs.

namespace cp {

// Windows programs take "/?" as a request for their help.
bool takes_slash_help();

}  // namespace cp

#include "driver/listing.hpp"

namespace cp {

// Until the listing exists, the last table is not shown again.
void list_last_search(Console&, State&) {}

}  // namespace cp

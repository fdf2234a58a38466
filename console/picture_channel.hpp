#pragma once
// Where the pictures of what the program shows go: the web page draws them
// beside its terminal. Elsewhere nothing takes them, and nothing is sent.
#include <string_view>

namespace cp {

// Whether something takes the pictures' records.
bool picture_channel_open();
// Hands over whole lines of records.
void send_to_pictures(std::string_view records);

}  // namespace cp

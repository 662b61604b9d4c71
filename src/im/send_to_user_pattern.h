#pragma once
// The face of the IM toolbar button that opens the send-to-user dialog, as the bytes of a 72 x 17, 32-bit
// BMP file (4,950 bytes). Made by tools/make_send_to_user_bmp and embedded at build time.

#include <string_view>

namespace varnel::im {

std::string_view send_to_user_pattern();

}  // namespace varnel::im

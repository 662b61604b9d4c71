#pragma once
// The window message numbers and key and button codes that drive the IM client.

#include <cstdint>

namespace varnel::im {

inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;

inline constexpr std::uintptr_t kMkLButton = 0x0001;
inline constexpr std::uintptr_t kMkRButton = 0x0002;
inline constexpr std::uintptr_t kVkReturn = 0x0D;
// The IM client accepts this lParam with Return; it is not the usual repeat count and scan code.
inline constexpr std::intptr_t kReturnKeyLParam = 0x18;

// A client point as a mouse message carries it: x in the low 16 bits, y in the high 16 bits, cut to 32 bits.
inline std::intptr_t point_lparam(int x, int y) {
  const auto whole = static_cast<std::int64_t>(x) + static_cast<std::int64_t>(y) * 65536;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
}
inline int lparam_x(std::intptr_t lparam) { return static_cast<std::int16_t>(lparam & 0xFFFF); }
inline int lparam_y(std::intptr_t lparam) { return static_cast<std::int16_t>((lparam >> 16) & 0xFFFF); }

}  // namespace varnel::im

// The device ids the remover knows, and the one range of them it acts on.
#pragma once

#include <cstddef>

namespace padsetup {

inline constexpr std::size_t kProductCount = 46;
inline constexpr std::size_t kRemovedFirst = 38;  // half-open: exactly vid_7a3c&pid_a02f
inline constexpr std::size_t kRemovedEnd = 39;

// Entry i of the table: "vid_7a3c&pid_a0" and two lower-case hex digits,
// 00 to 16 then 20 to 36. Null past the end.
const char* ProductDeviceId(std::size_t index);

}  // namespace padsetup

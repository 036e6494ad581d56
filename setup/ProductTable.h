// The device ids of the maker's pad family, of which the remover acts on one.
#pragma once

#include <array>
#include <cstddef>

namespace padsetup {

inline constexpr std::array<const char*, 46> kProductDeviceIds = {
    "vid_7a3c&pid_a000", "vid_7a3c&pid_a001", "vid_7a3c&pid_a002", "vid_7a3c&pid_a003",
    "vid_7a3c&pid_a004", "vid_7a3c&pid_a005", "vid_7a3c&pid_a006", "vid_7a3c&pid_a007",
    "vid_7a3c&pid_a008", "vid_7a3c&pid_a009", "vid_7a3c&pid_a00a", "vid_7a3c&pid_a00b",
    "vid_7a3c&pid_a00c", "vid_7a3c&pid_a00d", "vid_7a3c&pid_a00e", "vid_7a3c&pid_a00f",
    "vid_7a3c&pid_a010", "vid_7a3c&pid_a011", "vid_7a3c&pid_a012", "vid_7a3c&pid_a013",
    "vid_7a3c&pid_a014", "vid_7a3c&pid_a015", "vid_7a3c&pid_a016",
    "vid_7a3c&pid_a020", "vid_7a3c&pid_a021", "vid_7a3c&pid_a022", "vid_7a3c&pid_a023",
    "vid_7a3c&pid_a024", "vid_7a3c&pid_a025", "vid_7a3c&pid_a026", "vid_7a3c&pid_a027",
    "vid_7a3c&pid_a028", "vid_7a3c&pid_a029", "vid_7a3c&pid_a02a", "vid_7a3c&pid_a02b",
    "vid_7a3c&pid_a02c", "vid_7a3c&pid_a02d", "vid_7a3c&pid_a02e", "vid_7a3c&pid_a02f",
    "vid_7a3c&pid_a030", "vid_7a3c&pid_a031", "vid_7a3c&pid_a032", "vid_7a3c&pid_a033",
    "vid_7a3c&pid_a034", "vid_7a3c&pid_a035", "vid_7a3c&pid_a036",
};

// Half-open range of the table that the remover acts on: the installer's product only.
inline constexpr size_t kRemovalFirst = 38;
inline constexpr size_t kRemovalEnd = 39;

}  // namespace padsetup

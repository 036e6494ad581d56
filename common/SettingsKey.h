// Where the panel keeps a model's settings record: HKLM\<base>\<model>, the
// model number in decimal. The driver spells the same key in capitals
// (ProductIdentity.h); key names compare without case.
#pragma once

#include <string>

namespace pad {

inline constexpr char kSettingsBaseKey[] = "Software\\ZevEreRaverav";

inline std::string SettingsKeyPath(unsigned model) {
    return std::string(kSettingsBaseKey) + "\\" + std::to_string(model);
}

}  // namespace pad

// Where the staged driver is: given on the command line as --driver=PATH.
#pragma once

#include <string>

namespace hosttools {

const std::string& DriverPath();

}  // namespace hosttools

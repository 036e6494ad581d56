#include "panel/Module.h"

namespace padpanel {

PanelModule& Module() {
    static PanelModule module;
    return module;
}

}  // namespace padpanel

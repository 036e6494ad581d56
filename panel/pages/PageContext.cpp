#include "panel/pages/PageContext.h"

#include "panel/pages/PageLayer.h"

namespace padpanel {

PageContext& Pages() {
    static PageContext context;
    return context;
}

void ResetPageContext() {
    PageContext& context = Pages();
    context = PageContext{};
    context.KeyPromptProc = KeyPromptProc;
}

}  // namespace padpanel

#include "web/web_host_window.h"

#include <emscripten/html5.h>

namespace {
bool PageHidden() {
    EmscriptenVisibilityChangeEvent status{};
    if (emscripten_get_visibility_status(&status) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    return status.hidden != 0;
}
}  // namespace

bool WebHostWindow::IsIconified() { return PageHidden(); }

bool WebHostWindow::IsActive() { return !PageHidden(); }

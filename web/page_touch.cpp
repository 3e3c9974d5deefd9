#include "web/page_touch.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <span>

#include "host/hx_game.h"
#include "web/touch_points.h"

namespace {

constexpr const char* kCanvas = "#canvas";

TouchPoints gTouches;

TouchPhase PhaseOf(int eventType) {
    switch (eventType) {
        case EMSCRIPTEN_EVENT_TOUCHSTART:
            return TouchPhase::kStart;
        case EMSCRIPTEN_EVENT_TOUCHEND:
            return TouchPhase::kEnd;
        case EMSCRIPTEN_EVENT_TOUCHCANCEL:
            return TouchPhase::kCancel;
        default:
            return TouchPhase::kMove;
    }
}

CanvasScale CurrentScale() {
    int width = 0, height = 0;
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_canvas_element_size(kCanvas, &width, &height);
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    return ScaleOf(width, height, cssWidth, cssHeight);
}

EM_BOOL OnTouch(int eventType, const EmscriptenTouchEvent* event, void* userData) {
    auto* game = static_cast<HxGame*>(userData);
    constexpr int kRoom = static_cast<int>(std::size(EmscriptenTouchEvent{}.touches));
    int count = std::clamp(event->numTouches, 0, kRoom);
    std::array<PageTouch, kRoom> listed;
    for (int i = 0; i < count; ++i) {
        const EmscriptenTouchPoint& t = event->touches[i];
        listed[i] = PageTouch{t.identifier, static_cast<double>(t.targetX), static_cast<double>(t.targetY),
                              t.isChanged != 0};
    }
    gTouches.Handle(PhaseOf(eventType), std::span(listed.data(), count), count < kRoom, CurrentScale(),
                    [game](int hostEvent, int point, float x, float y) { game->TouchEvent(hostEvent, point, x, y); });
    // Handled: no scrolling, zooming or mouse events made from the touch. A
    // cancel cannot be prevented, and the browser complains if asked to.
    return eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL ? EM_FALSE : EM_TRUE;
}

}  // namespace

void ListenToCanvasTouches(HxGame* game) {
    EM_ASM({
        var canvas = Module["canvas"];
        canvas.removeEventListener("touchstart", GLFW.onMouseButtonDown, true);
        canvas.removeEventListener("touchmove", GLFW.onMousemove, true);
        canvas.removeEventListener("touchend", GLFW.onMouseButtonUp, true);
        canvas.removeEventListener("touchcancel", GLFW.onMouseButtonUp, true);
    });
    emscripten_set_touchstart_callback(kCanvas, game, EM_TRUE, OnTouch);
    emscripten_set_touchmove_callback(kCanvas, game, EM_TRUE, OnTouch);
    emscripten_set_touchend_callback(kCanvas, game, EM_TRUE, OnTouch);
    emscripten_set_touchcancel_callback(kCanvas, game, EM_TRUE, OnTouch);
}

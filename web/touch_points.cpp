#include "web/touch_points.h"

#include <algorithm>

#include "host/hx_game.h"

CanvasScale ScaleOf(int bufferWidth, int bufferHeight, double cssWidth, double cssHeight) {
    CanvasScale scale;
    if (cssWidth > 0) scale.x = bufferWidth / cssWidth;
    if (cssHeight > 0) scale.y = bufferHeight / cssHeight;
    return scale;
}

void TouchPoints::Handle(TouchPhase phase, std::span<const PageTouch> listed, bool complete, CanvasScale scale,
                         const Sink& sink) {
    // Lifting first frees the points a starting touch may take.
    if (complete) LiftUnlisted(listed, sink);
    for (const PageTouch& touch : listed) {
        if (!touch.changed) continue;
        float x = static_cast<float>(touch.x * scale.x), y = static_cast<float>(touch.y * scale.y);
        int point = PointOf(touch.id);
        switch (phase) {
            case TouchPhase::kStart:
                // A start for a touch that already holds a point is a new press there.
                if (point < 0) point = LowestFree();
                if (point < 0) break;
                slots_[point] = Slot{true, touch.id};
                sink(EVENT_TOUCH_DOWN, point, x, y);
                break;
            case TouchPhase::kMove:
                if (point >= 0) sink(EVENT_TOUCH_MOVE, point, x, y);
                break;
            case TouchPhase::kEnd:
            case TouchPhase::kCancel:
                if (point >= 0) Lift(point, x, y, sink);
                break;
        }
    }
}

void TouchPoints::LiftUnlisted(std::span<const PageTouch> listed, const Sink& sink) {
    for (int point = 0; point < kPoints; ++point) {
        if (!slots_[point].held) continue;
        long id = slots_[point].id;
        bool named = std::any_of(listed.begin(), listed.end(), [id](const PageTouch& t) { return t.id == id; });
        if (!named) Lift(point, 0, 0, sink);
    }
}

void TouchPoints::Lift(int point, float x, float y, const Sink& sink) {
    slots_[point].held = false;
    sink(EVENT_TOUCH_UP, point, x, y);
}

int TouchPoints::LowestFree() const {
    for (int point = 0; point < kPoints; ++point) {
        if (!slots_[point].held) return point;
    }
    return -1;
}

int TouchPoints::PointOf(long id) const {
    for (int point = 0; point < kPoints; ++point) {
        if (slots_[point].held && slots_[point].id == id) return point;
    }
    return -1;
}

int TouchPoints::HeldCount() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.held; }));
}

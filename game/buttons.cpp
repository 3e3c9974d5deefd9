// Buttons: each queues its picture and answers whether a touch or the
// pointer is on it in this update.
#include "game/game_constants.h"
#include "game/my_app.h"

namespace {

bool Between(float low, int value, float high) { return low < value && value < high; }

// Half the drawn size of one frame of an image at the current draw scale, in
// virtual pixels.
struct HalfSize {
    float width, height;
};

HalfSize HalfFrameSize(const c_MyApp* app, int image) {
    return {app->imageInfo[3 * image] * app->hdScale * app->drawScaleX * 0.5f,
            app->imageInfo[3 * image + 1] * app->hdScale * app->drawScaleY * 0.5f};
}

}  // namespace

int c_MyApp::ImageButton(int image, float x, float y, int frame) {
    QueueImage(image, x, y, frame);
    buttonHit = 0;
    HalfSize half = HalfFrameSize(this, image);
    for (int i = 0; i < kTouchPoints; ++i) {
        if (Between(x - half.width, touchX[i], x + half.width) &&
            Between(y - half.height, touchY[i], y + half.height) && pointerDown > 0) {
            buttonHit = 1;
        }
    }
    return buttonHit;
}

int c_MyApp::PointerImageButton(int image, float x, float y, int frame) {
    QueueImage(image, x, y, frame);
    HalfSize half = HalfFrameSize(this, image);
    bool hit = Between(x - half.width, touchX[0], x + half.width) &&
               Between(y - half.height, touchY[0], y + half.height) && pointerDown > 0;
    return hit ? 1 : 0;
}

int c_MyApp::RectButton(float x, float y, float width, float height) {
    QueueRect(x, y, width, height);
    for (int i = 0; i < kTouchPoints; ++i) {
        if (touchDown[i] != 0 && Between(x, touchX[i], x + width) && Between(y, touchY[i], y + height)) {
            return 1;
        }
    }
    return 0;
}

#include "graphics/graphics_context.h"

#include "graphics/graphics_globals.h"

c_GraphicsContext::c_GraphicsContext() : matrixStack(kMatrixStackLevels * 6) {}

void c_GraphicsContext::Mark() {
    gc_mark(defaultFont);
    gc_mark(font);
    gc_mark(matrixStack);
}

int c_GraphicsContext::Validate() {
    if (matDirty && renderDevice) {
        renderDevice->SetMatrix(ix, iy, jx, jy, tx, ty);
        matDirty = 0;
    }
    return 0;
}

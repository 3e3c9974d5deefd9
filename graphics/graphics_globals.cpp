#include "graphics/graphics_globals.h"

Global<Ref<gxtkGraphics>> graphicsDevice;
Global<Ref<gxtkGraphics>> renderDevice;
Global<Ref<c_GraphicsContext>> graphicsContext;

void InitGraphicsGlobals() {
    graphicsDevice = nullptr;
    renderDevice = nullptr;
    graphicsContext = new c_GraphicsContext();
}

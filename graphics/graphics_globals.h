// The drawing layer's globals (collector roots). Loading goes to the
// graphics device; drawing goes to the render device, which is the same
// renderer but set only while a frame is being drawn.
#pragma once
#include "graphics/graphics_context.h"
#include "graphics/gxtk_graphics.h"
#include "runtime/ref.h"

extern Global<Ref<gxtkGraphics>> graphicsDevice;
extern Global<Ref<gxtkGraphics>> renderDevice;
extern Global<Ref<c_GraphicsContext>> graphicsContext;

// Creates the context; part of the framework's global initialiser.
void InitGraphicsGlobals();

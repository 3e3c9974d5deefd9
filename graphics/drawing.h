// The global drawing operations the game calls. Each records its state in
// the graphics context and forwards to the render device; matrix changes
// reach the renderer lazily, at the next draw.
//
// Drawing outside the frame bracket (no render device) does nothing.
#pragma once
#include "graphics/graphics_context.h"
#include "graphics/image.h"
#include "runtime/array.h"
#include "runtime/string.h"

int ClearScreen(float r, float g, float b);
int SetColor(float r, float g, float b);
int SetAlpha(float alpha);
// 0 alpha blending, 1 additive.
int SetBlend(int blend);
int SetScissor(float x, float y, float width, float height);
int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
// The new transform applies first, then the current one.
int Transform(float ix, float iy, float jx, float jy, float tx, float ty);
int Translate(float x, float y);
int Scale(float x, float y);
// Degrees; a positive angle turns counter-clockwise on the y-down screen.
int Rotate(float angle);
int PushMatrix();
int PopMatrix();

int DrawPoint(float x, float y);
int DrawRect(float x, float y, float width, float height);
int DrawLine(float x1, float y1, float x2, float y2);
int DrawOval(float x, float y, float width, float height);
int DrawEllipse(float x, float y, float xRadius, float yRadius);
int DrawPoly(Array<float> vertices);
// Draws the frame with its handle at (x, y); a frame index outside the
// image draws nothing.
int DrawImage(c_Image* image, float x, float y, int frame = 0);
int DrawImageTransformed(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                         int frame = 0);
int ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset, int pitch);

int DeviceWidth();
int DeviceHeight();

// Paths are resolved with FixDataPath. Null when the file cannot be opened,
// decoded or uploaded, or when frameCount is below 1.
c_Image* LoadImage(const String& path, int frameCount = 1, int flags = 0);
c_Image* LoadImageStrip(const String& path, int frameWidth, int frameHeight, int frameCount, int flags = 0);

// The frame bracket around the application's render handler: sets the
// render device and resets colour, alpha, blend, scissor and matrix; then
// clears the render device again.
int BeginFrameDrawing();
int EndFrameDrawing();

// Start-up: loads "brio_font.png" (96 cells, PadX) as the default font
// unless the context has one, and makes it the current font from code 32.
void LoadDefaultFont();

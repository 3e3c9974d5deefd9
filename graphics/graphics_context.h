// c_GraphicsContext: the drawing layer's state (colour, alpha, blend,
// scissor, matrix and its stack, font). Matrix changes are only recorded
// here; Validate hands them to the renderer when something is drawn.
#pragma once
#include "graphics/image.h"
#include "runtime/object.h"

class c_GraphicsContext : public Object {
public:
    static constexpr int kMatrixStackLevels = 32;

    c_GraphicsContext();
    void Mark() override;

    // Hands a pending matrix to the render device.
    virtual int Validate();

    Ref<c_Image> defaultFont;
    Ref<c_Image> font;
    int firstChar = 0;
    // Next free float in matrixStack (a multiple of 6).
    int matrixSp = 0;
    float ix = 1, iy = 0, jx = 0, jy = 1, tx = 0, ty = 0;
    int tformed = 0;
    int matDirty = 0;
    float colorR = 0, colorG = 0, colorB = 0;
    float alpha = 0;
    int blend = 0;
    float scissorX = 0, scissorY = 0, scissorW = 0, scissorH = 0;
    // Six floats per saved matrix.
    Array<float> matrixStack;
};

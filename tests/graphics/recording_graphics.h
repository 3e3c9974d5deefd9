// A renderer that also records what the drawing layer hands it.
#pragma once
#include <array>
#include <vector>

#include "graphics/gxtk_graphics.h"

class RecordingGraphics : public gxtkGraphics {
public:
    struct SurfaceDraw {
        bool whole;
        float x, y;
        int srcX, srcY, srcWidth, srcHeight;
    };

    int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
        matrices.push_back({ix, iy, jx, jy, tx, ty});
        return gxtkGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
    }
    int DrawSurface(gxtkSurface* surface, float x, float y) override {
        surfaceDraws.push_back({true, x, y, 0, 0, surface->Width(), surface->Height()});
        return gxtkGraphics::DrawSurface(surface, x, y);
    }
    int DrawSurfaceRect(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcWidth,
                        int srcHeight) override {
        surfaceDraws.push_back({false, x, y, srcX, srcY, srcWidth, srcHeight});
        return gxtkGraphics::DrawSurfaceRect(surface, x, y, srcX, srcY, srcWidth, srcHeight);
    }

    std::vector<std::array<float, 6>> matrices;
    std::vector<SurfaceDraw> surfaceDraws;
};

// The world grid: 128 × 128 cells of 32 pixels, each a record of 10 ints in
// c_MyApp::world. Int 0 is the cell type, int 1 the block variant 1..9.
#pragma once

namespace world_grid {

constexpr int kCells = 128;
constexpr int kCellInts = 10;
constexpr int kCellPixels = 32;
constexpr float kWorldPixels = kCells * kCellPixels;

enum CellType { kEmpty = 0, kBlock = 1, kCoin = 2, kWall = 99 };

// Index of the type int of cell (col, row); the variant follows it.
constexpr int CellIndex(int col, int row) { return (row * kCells + col) * kCellInts; }

constexpr bool OnRing(int col, int row) {
    return col == 0 || row == 0 || col == kCells - 1 || row == kCells - 1;
}

}  // namespace world_grid

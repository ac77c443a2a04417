#include "controls/rounded_region.h"

namespace tunova {
namespace {

constexpr int kCornerSquare = 5;
constexpr double kEllipseRadius = 5.5;  // an 11 x 11 ellipse

// How many pixels of row `row` (0 at the corner's edge) of a corner's square lie outside the
// ellipse drawn in that corner: the pixels whose centres are outside it. Worked out once for the
// top-left corner and mirrored to the others, so all four corners are cut alike.
int CutInRow(int row) {
    int cut = 0;
    for (int x = 0; x < kCornerSquare; ++x) {
        const double dx = x + 0.5 - kEllipseRadius;
        const double dy = row + 0.5 - kEllipseRadius;
        if (dx * dx + dy * dy > kEllipseRadius * kEllipseRadius) {
            cut = x + 1;
        }
    }
    return cut;
}

}  // namespace

plat::Region RoundedDialogRegion(plat::Size client) {
    // The region spans (0, 0)-(W + 1, H + 1): its last column is x = W, its last row y = H.
    const int right = client.cx + 1;
    const int bottom = client.cy + 1;
    plat::Region region = plat::Region::FromRect({0, 0, right, bottom});
    for (int row = 0; row < kCornerSquare; ++row) {
        const int cut = CutInRow(row);
        if (cut == 0) {
            continue;
        }
        for (int y : {row, bottom - 1 - row}) {
            region.Subtract(plat::Region::FromRect({0, y, cut, y + 1}));
            region.Subtract(plat::Region::FromRect({right - cut, y, right, y + 1}));
        }
    }
    return region;
}

}  // namespace tunova

// The shape of the skinned dialogs: a rectangle with its four corners cut round.
#pragma once

#include "platform/core/types.h"
#include "platform/draw/draw.h"

namespace tunova {

// The rectangle (0, 0)-(W + 1, H + 1) of a `client` area W x H, each corner's 5 x 5 square cut
// down to the 11 x 11 ellipse drawn in that corner (a radius of about 5 pixels), the same pixels
// at every corner.
plat::Region RoundedDialogRegion(plat::Size client);

}  // namespace tunova

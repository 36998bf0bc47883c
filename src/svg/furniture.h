#ifndef LINES2SVG_SVG_FURNITURE_H_
#define LINES2SVG_SVG_FURNITURE_H_

#include "svg/svg_stream.h"

namespace lines2svg {

// Draws the scale bar with its "… m" label and the left-pointing direction arrow with its "S"
// label in the band below a drawing `extentFirst` wide and `extentSecond` high. The bar and the
// opening of its label use two decimals; from the scale-bar length on, numbers have none, and
// the stream is left that way.
void writeFurniture(SvgStream& svg, double extentFirst, double extentSecond, double scaleBar);

}  // namespace lines2svg

#endif  // LINES2SVG_SVG_FURNITURE_H_

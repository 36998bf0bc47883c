// The scale bar and the direction arrow under the picture.
#include "svg/furniture.h"

namespace lines2svg {

namespace {

// A thick black line; every piece of furniture but the labels is one.
void thickLine(SvgStream& svg, double x1, double y1, double x2, double y2) {
  svg.text("<line x1=\"");
  svg.number(x1);
  svg.text("\" y1=\"");
  svg.number(y1);
  svg.text("\" x2=\"");
  svg.number(x2);
  svg.text("\" y2=\"");
  svg.number(y2);
  svg.text("\" stroke-width=\"5\" stroke=\"black\"/>\n");
}

// Opens an italic label; its text and closing tag follow.
void openLabel(SvgStream& svg, double x, double y, double fontSize) {
  svg.text("<text x=\"");
  svg.number(x);
  svg.text("\" y=\"");
  svg.number(y);
  svg.text("\" font-family=\"Helvetica\" font-size=\"");
  svg.number(fontSize);
  svg.text("\" font-style=\"italic\" fill=\"black\" >");
}

}  // namespace

void writeFurniture(SvgStream& svg, double extentFirst, double extentSecond, double scaleBar) {
  // Every expression is formed as written here, constant times extent first: the last bit decides
  // how an exact tie is rounded.
  const double e1 = extentFirst;
  const double e2 = extentSecond;
  const double baseline = e2 + e2 * (1.0 / 15);
  const double barEnd = e1 - 0.05 * e1;

  thickLine(svg, barEnd, baseline, barEnd - scaleBar, baseline);
  openLabel(svg, barEnd - scaleBar, e2 + 0.05 * e2, 0.02 * e2);
  svg.setPrecision(0);
  svg.number(scaleBar);
  svg.text(" m</text>\n");

  thickLine(svg, 0.05 * e1, baseline, 0.1 * e1, baseline);
  thickLine(svg, 0.05 * e1, baseline, e1 * (1.0 / 13), baseline - 0.01 * e2);
  thickLine(svg, 0.05 * e1, baseline, e1 * (1.0 / 13), baseline + 0.01 * e2);
  openLabel(svg, e1 * (1.0 / 9), baseline, 0.025 * e2);
  svg.text("S</text>\n");
}

}  // namespace lines2svg

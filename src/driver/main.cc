// The program: everything it does is in runConversion.
#include "driver/driver.h"

int main() { return lines2svg::runConversion(); }

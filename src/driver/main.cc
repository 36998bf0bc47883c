#include "driver/driver.h"

int main() { return lines2svg::runConversion(); }

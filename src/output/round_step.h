// Round steps for the drawings' axes and graticule: 1, 2 or 5 times a power of ten.
#pragma once

// The smallest round step that divides span into at most intervals parts.
double roundStep(double span, int intervals);

// How many decimals a label needs to show a multiple of step exactly.
int stepDecimals(double step);

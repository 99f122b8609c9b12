// What the screen can show, asked at every paint of the tray picture and the
// graph.
#ifndef AMPWATCH_SCREEN_H
#define AMPWATCH_SCREEN_H

#include <stdint.h>

// nearestToRed: the screen's nearest displayable colour to pure red. A grey
// there means a grey-only screen; a failed query counts as a colour screen.
bool ScreenIsGreyOnly(uint32_t nearestToRed);
// The colour whose nearest displayable colour tells (0x00BBGGRR).
enum : uint32_t { PURE_RED = 0x0000FFu };

#endif

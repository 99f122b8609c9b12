#include "ui/screen.h"

#include "platform/numbers.h"

bool ScreenIsGreyOnly(uint32_t nearestToRed)
{
    if (nearestToRed == COLOR_QUERY_FAILED)
        return false;
    const uint32_t r = nearestToRed & 0xFFu;
    const uint32_t g = (nearestToRed >> 8) & 0xFFu;
    const uint32_t b = (nearestToRed >> 16) & 0xFFu;
    return r == g && g == b;
}

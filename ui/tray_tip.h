// The tray icon's tooltip: which text to show, and its bounded formatting.
#ifndef AMPWATCH_TRAY_TIP_H
#define AMPWATCH_TRAY_TIP_H

#include <stdint.h>

enum { TIP_CAPACITY = 64 };  // 63 characters plus terminator

struct TipPlan {
    int textId;         // string number of the format
    uint32_t args[3];   // in the order the format takes them
    uint32_t argCount;
};

TipPlan PlanTrayTip(uint8_t percent, uint32_t remainingSeconds);

// Formats the integer texts: "%u", "%0Nu" (N one digit) and "%%"; anything
// else is copied as it stands. Never writes more than capacity bytes, always
// terminates; answers the length.
uint32_t FormatCounts(char *out, uint32_t capacity, const char *format, const uint32_t *args,
                      uint32_t argCount);

#endif

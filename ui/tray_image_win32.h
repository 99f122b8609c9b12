// The tray picture made with GDI.
#ifndef AMPWATCH_TRAY_IMAGE_WIN32_H
#define AMPWATCH_TRAY_IMAGE_WIN32_H

#include <windows.h>

#include "app/settings.h"

// The small-icon size at the taskbar's DPI: the size of the picture.
SIZE TrayIconSize();

// Draws the picture at size (TrayIconSize). The caller owns the returned icon and
// destroys it with DestroyIcon; null on failure. Nothing else outlives the
// call.
HICON BuildTrayIconImage(SIZE size, uint8_t percent, uint8_t batteryFlag, uint8_t lowThreshold,
                         uint8_t criticalThreshold, const IconFont *font, uint32_t iconColor);

#endif

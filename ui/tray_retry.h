// The tray icon while the notification area is not ready (a slow logon) or
// lost it without a word: asked again for a while, then given up.
#ifndef AMPWATCH_TRAY_RETRY_H
#define AMPWATCH_TRAY_RETRY_H

#include <stdint.h>

// Every 2 s for a minute.
enum : uint32_t { TRAY_RETRY_MS = 2000, TRAY_RETRY_FOR_MS = 60000 };

enum TrayRetry { TRAY_RETRY_DONE, TRAY_RETRY_AGAIN, TRAY_RETRY_GIVE_UP };

// After a try: done when the icon is there; else again until a minute has
// passed since the first refusal (tick counts in milliseconds, which wrap
// after 49 days), then given up: a hidden window is shown instead.
TrayRetry NextTrayRetry(bool iconThere, uint32_t sinceMs, uint32_t nowMs);

#endif

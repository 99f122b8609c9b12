#include "ui/tray_retry.h"

TrayRetry NextTrayRetry(bool iconThere, uint32_t sinceMs, uint32_t nowMs)
{
    if (iconThere)
        return TRAY_RETRY_DONE;
    return nowMs - sinceMs < TRAY_RETRY_FOR_MS ? TRAY_RETRY_AGAIN : TRAY_RETRY_GIVE_UP;
}

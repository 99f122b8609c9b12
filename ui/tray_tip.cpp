#include "ui/tray_tip.h"

#include "app/text.h"
#include "power/status.h"
#include "res/resource.h"

TipPlan PlanTrayTip(uint8_t percent, uint32_t remainingSeconds)
{
    TipPlan plan = {IDS_TIP_UNKNOWN, {0, 0, 0}, 0};  // the caption alone
    if (percent == PERCENT_UNKNOWN)
        return plan;
    if (remainingSeconds == LIFETIME_UNKNOWN) {
        plan.textId = IDS_TIP_PERCENT;
        plan.args[0] = percent;
        plan.argCount = 1;
        return plan;
    }
    uint32_t hours = remainingSeconds / 3600u;
    uint32_t minutes = (remainingSeconds % 3600u) / 60u;
    if (hours > 0) {
        plan.textId = IDS_TIP_HOURS;
        plan.args[0] = hours;
        plan.args[1] = minutes;
        plan.args[2] = percent;
        plan.argCount = 3;
    } else {
        plan.textId = IDS_TIP_MINUTES;
        plan.args[0] = minutes;
        plan.args[1] = percent;
        plan.argCount = 2;
    }
    return plan;
}

uint32_t FormatCounts(char *out, uint32_t capacity, const char *format, const uint32_t *args,
                      uint32_t argCount)
{
    if (capacity == 0)
        return 0;
    uint32_t len = 0;
    uint32_t next = 0;
    auto put = [&](char c) {
        if (len + 1 < capacity)
            out[len++] = c;
    };
    for (const char *p = format; *p; ++p) {
        if (*p != '%') {
            put(*p);
            continue;
        }
        if (p[1] == '%') {
            put('%');
            ++p;
            continue;
        }
        const char *q = p + 1;
        uint32_t width = 0;
        if (q[0] == '0' && q[1] >= '1' && q[1] <= '9') {
            width = static_cast<uint32_t>(q[1] - '0');
            q += 2;
        }
        if (*q != 'u' || next >= argCount) {
            put(*p);  // not a form this program uses: shown literally
            continue;
        }
        char digits[NUMBER_CAPACITY];  // up to ten digits, or nine for the widest "%09u"
        FormatUnsigned(digits, sizeof digits, args[next++], width);
        for (const char *d = digits; *d; ++d)
            put(*d);
        p = q;
    }
    // The tooltip's bytes run out where they do, maybe inside a character.
    len = WholeCharacterBytes(out, len);
    out[len] = '\0';
    return len;
}


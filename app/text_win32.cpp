#include <windows.h>

#include "app/settings.h"
#include "app/text.h"
#include "app/text_win32.h"

uint32_t LoadText(int n, char *out, uint32_t capacity)
{
    if (capacity == 0)
        return 0;
    out[0] = '\0';
    int got = LoadStringA(GetModuleHandleA(nullptr),
                          static_cast<UINT>(LocalisedStringId(n, appGlobals.languageIsGerman)),
                          out, static_cast<int>(capacity));
    return got > 0 ? static_cast<uint32_t>(got) : 0;
}

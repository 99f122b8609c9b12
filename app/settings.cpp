#include "app/settings.h"

#include <string.h>

#include "app/text.h"
#include "platform/numbers.h"

// Filled at start by DerivePaths and LoadSettings; afterwards the main
// dialog changes the interval, the alert threshold and the icon colour, and
// the tray icon changes the icon colour while it follows the taskbar's theme.
AppGlobals appGlobals;
PathSet pathSet;
ThresholdSet thresholds;
IconSettings iconSettings;

static void CopyBounded(char *out, const char *text)
{
    size_t n = strlen(text);
    if (n > PATH_CAPACITY - 1)
        n = PATH_CAPACITY - 1;
    memcpy(out, text, n);
    out[n] = '\0';
}

static void UseFallbackPaths(PathSet *paths)
{
    CopyBounded(paths->settings, ".\\Ampwatch.ini");
    CopyBounded(paths->history, ".\\Ampwatch.dat");
    CopyBounded(paths->eventLog, ".\\Ampwatch.txt");
    CopyBounded(paths->healthRecord, ".\\Ampwatch.csv");
}

void DerivePaths(PathSet *paths, const char *modulePath, uint32_t length)
{
    // A path of 260 or more characters was cut by the platform and names
    // nothing; treat it like no path at all.
    if (modulePath == nullptr || length == 0 || length >= PATH_CAPACITY ||
        WideLength(modulePath, length) > PATH_CHARACTERS) {
        paths->program[0] = '\0';
        UseFallbackPaths(paths);
        return;
    }
    memcpy(paths->program, modulePath, length);
    paths->program[length] = '\0';
    uint32_t stem = length;
    // The extension is searched in the file name only: a dot in a folder
    // name must not move the files out of the executable's folder.
    for (uint32_t i = length; i > 0; --i) {
        char c = modulePath[i - 1];
        if (c == '\\' || c == '/' || c == ':')
            break;
        if (c == '.') {
            stem = i - 1;
            break;
        }
    }
    // If a full suffix does not fit, the files would end up sharing one
    // name (or taking the executable's own); the fallbacks are kept apart.
    if (WideLength(modulePath, stem) + 4 > PATH_CHARACTERS) {
        UseFallbackPaths(paths);
        return;
    }
    static const char *const suffixes[4] = {".ini", ".dat", ".txt", ".csv"};
    char *outs[4] = {paths->settings, paths->history, paths->eventLog, paths->healthRecord};
    for (int k = 0; k < 4; ++k) {
        memcpy(outs[k], modulePath, stem);
        memcpy(outs[k] + stem, suffixes[k], 5);
    }
}

static uint8_t ReadByteKey(const ProfileReader *reader, const char *key, uint32_t fallback)
{
    return static_cast<uint8_t>(reader->readInt(reader->context, key, fallback) & 0xFFu);
}

void LoadSettings(const ProfileReader *reader, uint32_t defaultIconColor)
{
    const void *ctx = reader->context;
    appGlobals.runHidden = reader->readInt(ctx, "RunHidden", 0) != 0;
    appGlobals.storedShowDetails = reader->readInt(ctx, "ShowDetails", 0) != 0;
    appGlobals.logfile = reader->readInt(ctx, "Logfile", 0) != 0;
    appGlobals.healthLog = reader->readInt(ctx, "HealthLog", 1) != 0;

    uint32_t interval = reader->readInt(ctx, "Interval", 60);
    appGlobals.interval = (interval < INTERVAL_MIN || interval > INTERVAL_MAX) ? 60u : interval;

    uint8_t alert = ReadByteKey(reader, "AlertThreshold", 9);
    thresholds.alertThreshold = (alert > 99 && alert != THRESHOLD_OFF) ? uint8_t{9} : alert;
    uint8_t low = ReadByteKey(reader, "LowThreshold", 32);
    thresholds.lowThreshold = low > 100 ? uint8_t{32} : low;
    uint8_t critical = ReadByteKey(reader, "CriticalThreshold", 9);
    thresholds.criticalThreshold = critical > 100 ? uint8_t{9} : critical;
    // Opted in: without the key, or with any other value, the reminder is off.
    const uint32_t unplug = reader->readInt(ctx, "UnplugThreshold", THRESHOLD_OFF);
    thresholds.unplugThreshold = unplug >= 1 && unplug <= 100 ? uint8_t(unplug) : uint8_t{THRESHOLD_OFF};

    IconFont *font = &iconSettings.font;
    memset(font, 0, sizeof *font);
    font->height = static_cast<int32_t>(reader->readInt(ctx, "Height", static_cast<uint32_t>(-9)));
    font->weight = static_cast<int32_t>(reader->readInt(ctx, "Weight", WEIGHT_NORMAL));
    font->italic = ReadByteKey(reader, "Italic", 0);
    font->pitchAndFamily = ReadByteKey(reader, "PitchAndFamily", 34);
    reader->readString(ctx, "FaceName", "Tahoma", font->faceName, FACE_NAME_CAPACITY);
    font->faceName[FACE_NAME_CAPACITY - 1] = '\0';
    // The platform cuts a long name by bytes, maybe inside a character.
    const uint32_t nameBytes = static_cast<uint32_t>(strlen(font->faceName));
    font->faceName[WholeCharacterBytes(font->faceName, nameBytes)] = '\0';

    char stored[2];
    reader->readString(ctx, "IconColor", "", stored, sizeof stored);
    iconSettings.iconColorStored = stored[0] != '\0';
    iconSettings.iconColor = iconSettings.iconColorStored
                                 ? reader->readInt(ctx, "IconColor", 0) & 0x00FFFFFFu
                                 : defaultIconColor;
}

bool IntervalChangeRequested(int64_t position, uint32_t currentInterval)
{
    return position >= INTERVAL_MIN && position <= INTERVAL_MAX &&
           position != int64_t(currentInterval);
}

uint32_t TaskbarDigitColor(bool highContrast, uint32_t themeTextColor, int32_t systemUsesLightTheme,
                           uint32_t buttonTextColor)
{
    if (highContrast)
        return themeTextColor;
    return systemUsesLightTheme == 0 ? 0x00FFFFFFu : buttonTextColor;
}

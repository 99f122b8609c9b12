// Settings, file locations and the process-wide records they fill.
#ifndef AMPWATCH_SETTINGS_H
#define AMPWATCH_SETTINGS_H

#include <stdint.h>

// Paths of at most 259 characters (UTF-16 units, as the platform counts) in
// the program's code page: up to three bytes each in UTF-8, plus the
// terminator.
enum { PATH_CHARACTERS = 259, PATH_CAPACITY = 3 * PATH_CHARACTERS + 1 };
enum { FACE_NAME_CAPACITY = 31 };  // 30 bytes plus terminator
enum { INTERVAL_MIN = 60, INTERVAL_MAX = 360 };
enum { THRESHOLD_OFF = 255 };

struct PathSet {
    char program[PATH_CAPACITY];  // the executable's own; empty when not known whole
    char settings[PATH_CAPACITY];
    char history[PATH_CAPACITY];
    char eventLog[PATH_CAPACITY];
    char healthRecord[PATH_CAPACITY];
};

struct ThresholdSet {
    uint8_t alertThreshold;     // 0..99, 255 = alert off
    uint8_t lowThreshold;       // 0..100
    uint8_t criticalThreshold;  // 0..100
    uint8_t unplugThreshold;    // 1..100, 255 = no unplug reminder
};

// The tray digits' font, as LOGFONTA describes one.
struct IconFont {
    int32_t height;
    int32_t width;
    int32_t escapement;
    int32_t orientation;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t strikeOut;
    uint8_t charSet;
    uint8_t outPrecision;
    uint8_t clipPrecision;
    uint8_t quality;
    uint8_t pitchAndFamily;
    char faceName[32];
};

struct IconSettings {
    IconFont font;
    uint32_t iconColor;  // 0x00BBGGRR
    bool iconColorStored;  // the INI holds IconColor: the taskbar is not followed
};

struct AppGlobals {
    bool languageIsGerman;
    uint32_t interval;  // poll period in seconds, 60..360
    bool runHidden;
    bool storedShowDetails;
    bool logfile;
    bool healthLog;  // the daily health record is kept
};

extern AppGlobals appGlobals;
extern PathSet pathSet;
extern ThresholdSet thresholds;
extern IconSettings iconSettings;

// How the settings file is read. readInt answers like GetPrivateProfileIntA:
// the default for a missing key, else the number at the start of the text
// (negative text arrives as its 32-bit two's complement). readString copies at
// most capacity - 1 bytes and terminates.
struct ProfileReader {
    const void *context;
    uint32_t (*readInt)(const void *context, const char *key, uint32_t fallback);
    void (*readString)(const void *context, const char *key, const char *fallback,
                       char *out, uint32_t capacity);
};

// modulePath is the executable's full path as the platform reported it, with
// its length; null or a length of 0 means it could not be obtained.
void DerivePaths(PathSet *paths, const char *modulePath, uint32_t length);

// The trackbar position asks for a change: within 60..360 and not the current
// interval.
bool IntervalChangeRequested(int64_t position, uint32_t currentInterval);

// The digits' colour when none is stored: a high-contrast theme's text
// colour; else white on a dark taskbar (systemUsesLightTheme 0), else the
// button text colour (also for a system that does not say, -1).
uint32_t TaskbarDigitColor(bool highContrast, uint32_t themeTextColor, int32_t systemUsesLightTheme,
                           uint32_t buttonTextColor);

// Reads every key once, applies defaults and validation. defaultIconColor is
// the digits' colour when IconColor is not stored (TaskbarDigitColor).
void LoadSettings(const ProfileReader *reader, uint32_t defaultIconColor);

#endif

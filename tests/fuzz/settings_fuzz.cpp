// Every settings value as raw text or as a raw 32-bit number, and every
// executable path up to 1000 characters: the records come out in range.
//
// Input: 4 bytes of the system's button text colour, then one field per key
// in reading order, separated by '\n'. A field "~" is a missing key, "#"
// followed by 4 bytes a raw number, anything else the key's text.
#include "app/settings.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

enum { KEY_COUNT = 13 };

// The order in which the keys must be read, with their defaults.
const char *const kKeys[KEY_COUNT] = {"RunHidden", "ShowDetails", "Logfile", "Interval",
                                      "AlertThreshold", "LowThreshold", "CriticalThreshold",
                                      "Height", "Weight", "Italic", "PitchAndFamily",
                                      "FaceName", "IconColor"};
const int kFaceName = 11, kIconColor = 12;

struct Field {
    bool present;
    const uint8_t *text;
    size_t length;
};

struct Profile {
    Field fields[KEY_COUNT];
    uint32_t answers[KEY_COUNT];   // what the reader handed out
    uint32_t fallbacks[KEY_COUNT]; // what LoadSettings asked for when missing
    int reads[KEY_COUNT];
    int nextRead;
    bool outOfOrder;
};

int KeyIndex(Profile *p, const char *key)
{
    for (int i = 0; i < KEY_COUNT; ++i) {
        if (strcmp(kKeys[i], key) == 0) {
            if (i != p->nextRead)
                p->outOfOrder = true;
            p->nextRead = i + 1;
            ++p->reads[i];
            return i;
        }
    }
    fprintf(stderr, "settings fuzz: unknown key %s read\n", key);
    abort();
    return 0;
}

// The number at the start of the text, as the platform's profile reader
// takes it: blanks, a sign, decimal digits; wraps around like 32 bits.
uint32_t NumberAtStart(const uint8_t *text, size_t length)
{
    size_t i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    uint32_t v = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        v = v * 10u + uint32_t(text[i] - '0');
    return negative ? 0u - v : v;
}

uint32_t ReadInt(const void *context, const char *key, uint32_t fallback)
{
    Profile *p = const_cast<Profile *>(static_cast<const Profile *>(context));
    int k = KeyIndex(p, key);
    const Field &f = p->fields[k];
    uint32_t v = fallback;
    p->fallbacks[k] = fallback;
    if (f.present && f.length == 5 && f.text[0] == '#') {
        v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t{f.text[1 + i]} << (8 * i);
    } else if (f.present) {
        v = NumberAtStart(f.text, f.length);
    }
    p->answers[k] = v;
    return v;
}

void ReadString(const void *context, const char *key, const char *fallback, char *out,
                uint32_t capacity)
{
    Profile *p = const_cast<Profile *>(static_cast<const Profile *>(context));
    int k = KeyIndex(p, key);
    FUZZ_CHECK(capacity == FACE_NAME_CAPACITY);
    FUZZ_CHECK(strcmp(fallback, "Tahoma") == 0);
    const Field &f = p->fields[k];
    const char *text = f.present ? reinterpret_cast<const char *>(f.text) : fallback;
    size_t n = f.present ? f.length : strlen(fallback);
    if (n > capacity - 1)
        n = capacity - 1;
    memcpy(out, text, n);
    out[n] = '\0';
}

void CheckSettings(const Profile &p, uint32_t buttonText)
{
    FUZZ_CHECK(!p.outOfOrder);
    for (int i = 0; i < KEY_COUNT; ++i)
        FUZZ_CHECK(p.reads[i] == 1);

    const uint32_t *a = p.answers;
    FUZZ_CHECK(appGlobals.runHidden == (a[0] != 0));
    FUZZ_CHECK(appGlobals.storedShowDetails == (a[1] != 0));
    FUZZ_CHECK(appGlobals.logfile == (a[2] != 0));
    FUZZ_CHECK(appGlobals.interval >= INTERVAL_MIN && appGlobals.interval <= INTERVAL_MAX);
    FUZZ_CHECK(appGlobals.interval == ((a[3] >= 60 && a[3] <= 360) ? a[3] : 60u));

    // Thresholds keep their low byte and are tested only after that.
    uint32_t alert = a[4] & 0xFFu, low = a[5] & 0xFFu, critical = a[6] & 0xFFu;
    FUZZ_CHECK(thresholds.alertThreshold == ((alert <= 99 || alert == 255) ? alert : 9u));
    FUZZ_CHECK(thresholds.lowThreshold == (low <= 100 ? low : 32u));
    FUZZ_CHECK(thresholds.criticalThreshold == (critical <= 100 ? critical : 9u));

    const IconFont &f = iconSettings.font;
    FUZZ_CHECK(uint32_t(f.height) == a[7]);
    FUZZ_CHECK(uint32_t(f.weight) == a[8]);
    FUZZ_CHECK(f.italic == (a[9] & 0xFFu));
    FUZZ_CHECK(f.pitchAndFamily == (a[10] & 0xFFu));
    FUZZ_CHECK(f.quality == 3);
    FUZZ_CHECK(f.width == 0 && f.escapement == 0 && f.orientation == 0);
    FUZZ_CHECK(f.underline == 0 && f.strikeOut == 0 && f.charSet == 0);
    FUZZ_CHECK(f.outPrecision == 0 && f.clipPrecision == 0);

    size_t face = strnlen(f.faceName, sizeof f.faceName);
    FUZZ_CHECK(face <= FACE_NAME_CAPACITY - 1);
    const Field &given = p.fields[kFaceName];
    const char *want = given.present ? reinterpret_cast<const char *>(given.text) : "Tahoma";
    size_t wantLength = given.present ? given.length : 6;
    if (wantLength > FACE_NAME_CAPACITY - 1)
        wantLength = FACE_NAME_CAPACITY - 1;
    // A text with a zero byte ends there.
    FUZZ_CHECK(face == strnlen(want, wantLength));
    FUZZ_CHECK(memcmp(f.faceName, want, face) == 0);

    FUZZ_CHECK(iconSettings.iconColor == (a[kIconColor] & 0x00FFFFFFu));

    // Defaults asked for keys that are missing.
    const uint32_t defaults[KEY_COUNT] = {0, 0, 0, 60, 9, 32, 9, uint32_t(-9), 400, 0, 34, 0,
                                          buttonText};
    for (int i = 0; i < KEY_COUNT; ++i)
        if (i != kFaceName && !p.fields[i].present)
            FUZZ_CHECK(p.fallbacks[i] == defaults[i]);
}

bool EndsWith(const char *s, const char *suffix)
{
    size_t n = strlen(s), m = strlen(suffix);
    return n >= m && strcmp(s + n - m, suffix) == 0;
}

// The three files share the executable's stem: its path up to the dot that
// starts its extension, or the whole path when there is none.
void CheckPaths(const char *module, uint32_t length)
{
    PathSet paths;
    memset(&paths, 0x5A, sizeof paths);
    DerivePaths(&paths, module, length);
    const char *all[3] = {paths.settings, paths.history, paths.eventLog};
    const char *suffixes[3] = {".ini", ".dat", ".txt"};
    size_t stem[3];
    for (int k = 0; k < 3; ++k) {
        size_t n = strnlen(all[k], PATH_CAPACITY);
        FUZZ_CHECK(n <= PATH_CAPACITY - 1);
        FUZZ_CHECK(EndsWith(all[k], suffixes[k]));
        stem[k] = n - 4;
    }
    FUZZ_CHECK(stem[0] == stem[1] && stem[1] == stem[2]);
    FUZZ_CHECK(memcmp(paths.settings, paths.history, stem[0]) == 0);
    FUZZ_CHECK(memcmp(paths.settings, paths.eventLog, stem[0]) == 0);

    const bool fallback = strcmp(paths.settings, ".\\Ampwatch.ini") == 0 &&
                          strcmp(paths.history, ".\\Ampwatch.dat") == 0 &&
                          strcmp(paths.eventLog, ".\\Ampwatch.txt") == 0;
    if (module == nullptr || length == 0) {
        FUZZ_CHECK(fallback);
        return;
    }
    // Only a path too long for its suffixes may fall back.
    if (fallback && length + 4 > PATH_CAPACITY - 1)
        return;
    FUZZ_CHECK(stem[0] <= length);
    FUZZ_CHECK(memcmp(paths.settings, module, stem[0]) == 0);
    if (stem[0] < length) {
        // Cut at the dot of the extension: no dot after it.
        FUZZ_CHECK(module[stem[0]] == '.');
        FUZZ_CHECK(memchr(module + stem[0] + 1, '.', length - stem[0] - 1) == nullptr);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes in = {data, size, 0};
    uint32_t buttonText = TakeU32(&in);

    Profile profile;
    memset(&profile, 0, sizeof profile);
    size_t at = in.at;
    for (int k = 0; k < KEY_COUNT && at <= size && size > 0; ++k) {
        const void *newline = at < size ? memchr(data + at, '\n', size - at) : nullptr;
        size_t length = newline ? size_t(static_cast<const uint8_t *>(newline) - (data + at))
                                : size - at;
        Field &f = profile.fields[k];
        f.present = !(length == 1 && data[at] == '~');
        f.text = data + at;
        f.length = length;
        at = newline ? at + length + 1 : size + 1;
    }
    ProfileReader reader = {&profile, ReadInt, ReadString};
    LoadSettings(&reader, buttonText);
    CheckSettings(profile, buttonText);

    // The same bytes as an executable path, cut to at most 1000 characters;
    // a null path and a length of 0 mean the platform had none.
    FuzzBytes whole = {data, size, 0};
    char module[1001];
    PeekRest(&whole, module, sizeof module);
    // The platform's path never holds a zero byte.
    uint32_t length = uint32_t(strlen(module));
    CheckPaths(module, length);
    CheckPaths(nullptr, length);
    return 0;
}

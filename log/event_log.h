// The event log: a comma-separated text file, one line per event.
#ifndef AMPWATCH_EVENT_LOG_H
#define AMPWATCH_EVENT_LOG_H

#include <stddef.h>
#include <stdint.h>

// Written only into a file that the write itself creates.
extern const char kLogHeader[];

struct LogTime {
    uint16_t year, month, day, hour, minute, second;
};

// The longest flags text, all five names: 37 characters.
enum { LOG_FIELD_CAPACITY = 40, LOG_LINE_CAPACITY = 160 };

// Text of a power broadcast code; null for codes that get no line.
const char *PowerEventText(uint32_t code);

void FormatLogMains(uint8_t acLineStatus, char *out, size_t capacity);
void FormatLogFlags(uint8_t batteryFlag, char *out, size_t capacity);

// The lines, each ending in "\n" (the text stream writes CR LF), cut at the
// buffer. They answer the length written; out is terminated unless capacity
// is 0.
size_t FormatEventLine(char *out, size_t capacity, const LogTime *time, const char *text);
size_t FormatStatusLine(char *out, size_t capacity, const LogTime *time, uint8_t percent,
                        uint8_t acLineStatus, uint8_t batteryFlag);

// The writers; each adds one line, opening and closing the file, and does
// nothing while logging is off. No text, no line.
void LogEvent(const char *text);
inline void LogPowerEvent(uint32_t code) { LogEvent(PowerEventText(code)); }
void LogStatus(uint8_t percent, uint8_t acLineStatus, uint8_t batteryFlag);

#endif

// Writing the event log: the file is open for one line at a time, so other
// programs can read, edit or delete it in between.
#include <windows.h>
#include <stdio.h>

#include "app/settings.h"
#include "log/event_log.h"
#include "platform/files.h"

static LogTime Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    LogTime t = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    return t;
}

static void WriteLine(const char *line)
{
    const bool existed = FileExists(pathSet.eventLog);
    // Text mode: every line feed goes out as CR LF.
    FILE *file = fopen(pathSet.eventLog, "a+t");
    if (!file)
        return;  // Locked or not writable: this line is lost, the next one tries again.
    if (!existed)
        fputs(kLogHeader, file);
    fputs(line, file);
    fclose(file);
}

void LogEvent(const char *text)
{
    if (!appGlobals.logfile || !text)
        return;
    LogTime t = Now();
    char line[LOG_LINE_CAPACITY];
    FormatEventLine(line, sizeof line, &t, text);
    WriteLine(line);
}

void LogStatus(uint8_t percent, uint8_t acLineStatus, uint8_t batteryFlag)
{
    if (!appGlobals.logfile)
        return;
    LogTime t = Now();
    char line[LOG_LINE_CAPACITY];
    FormatStatusLine(line, sizeof line, &t, percent, acLineStatus, batteryFlag);
    WriteLine(line);
}

// The line the benchmark's comparison programs print when their tray icon is
// in place: "tray added|failed MS", MS the time in Unix milliseconds.
#ifndef AMPWATCH_TRAY_TIME_H
#define AMPWATCH_TRAY_TIME_H

#include <windows.h>
#include <stdio.h>

static inline void PrintTrayTime(BOOL added)
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    const unsigned long long now = t.QuadPart / 10000ULL - 11644473600000ULL;
    // Seconds and milliseconds apart: the C runtime of Windows has no 64-bit %u.
    printf("tray %s %lu%03lu\n", added ? "added" : "failed", static_cast<unsigned long>(now / 1000),
           static_cast<unsigned long>(now % 1000));
    fflush(stdout);
}

#endif

// The event log writers on the real file system: header only into a file the
// write creates, CR LF line ends, nothing while logging is off, a lost line
// while another program holds the file.
#include <gtest/gtest.h>

#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <string>

#include "app/settings.h"
#include "log/event_log.h"

namespace {

const char kHeader[] = "Date, Time, BatteryLifePercent, ACLineStatus, BatteryFlag\r\n";

// Points the log at a fresh temporary path, logging on, and restores both.
struct LogFixture : testing::Test {
    AppGlobals savedGlobals;
    PathSet savedPaths;

    void SetUp() override
    {
        savedGlobals = appGlobals;
        savedPaths = pathSet;
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        snprintf(pathSet.eventLog, sizeof pathSet.eventLog, "%sampwatch-%lu-log.txt", dir,
                 GetCurrentProcessId());
        DeleteFileA(pathSet.eventLog);
        appGlobals.logfile = true;
    }
    void TearDown() override
    {
        DeleteFileA(pathSet.eventLog);
        appGlobals = savedGlobals;
        pathSet = savedPaths;
    }
};

bool Exists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const char *path)
{
    std::string text;
    FILE *file = fopen(path, "rb");
    if (!file)
        return text;
    char chunk[512];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, n);
    fclose(file);
    return text;
}

void WriteRaw(const char *path, const char *bytes, size_t length)
{
    FILE *file = fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes, 1, length, file);
    fclose(file);
}

// The line without its date and time columns; empty when these are not
// "NNNN-NN-NN, NN:NN:NN, " (the year may have more digits).
std::string WithoutTime(const std::string &line)
{
    size_t at = 0;
    auto digits = [&](size_t least) {
        size_t start = at;
        while (at < line.size() && line[at] >= '0' && line[at] <= '9')
            ++at;
        return at - start >= least;
    };
    auto literal = [&](const char *text) {
        size_t n = strlen(text);
        if (line.compare(at, n, text) != 0)
            return false;
        at += n;
        return true;
    };
    if (digits(4) && literal("-") && digits(2) && literal("-") && digits(2) && literal(", ") &&
        digits(2) && literal(":") && digits(2) && literal(":") && digits(2) && literal(", "))
        return line.substr(at);
    return std::string();
}

// The file's data lines without their time columns, each with its line end.
std::string Lines(const std::string &text)
{
    std::string result;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        result += WithoutTime(text.substr(at, end - at));
        at = end;
    }
    return result;
}

TEST_F(LogFixture, NothingIsCreatedWhileLoggingIsOff)
{
    appGlobals.logfile = false;
    LogEvent("Ampwatch started");
    LogPowerEvent(4);
    LogStatus(80, 0, 1);
    EXPECT_FALSE(Exists(pathSet.eventLog));

    // Nor is an existing file touched.
    WriteRaw(pathSet.eventLog, "mine\r\n", 6);
    LogEvent("Ampwatch closed");
    LogStatus(80, 0, 1);
    EXPECT_EQ(ReadAll(pathSet.eventLog), "mine\r\n");
}

TEST_F(LogFixture, NewFileGetsTheHeaderOnceAndEveryLineEndsInCrLf)
{
    LogEvent("Ampwatch started");
    LogStatus(85, 1, 9);
    LogPowerEvent(4);
    LogStatus(7, 3, 16);
    LogEvent("Ampwatch closed");
    const std::string text = ReadAll(pathSet.eventLog);
    ASSERT_EQ(text.compare(0, strlen(kHeader), kHeader), 0) << text;
    EXPECT_EQ(Lines(text.substr(strlen(kHeader))),
              "Ampwatch started\r\n"
              "85, ONLINE, HIGH|CHARGING\r\n"
              "System is suspending operation\r\n"
              "7, 3, \r\n"
              "Ampwatch closed\r\n");
    // No bare line feed anywhere.
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << at;
}

TEST_F(LogFixture, LinesCarryTheLocalTime)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    LogEvent("x");
    GetLocalTime(&after);
    const std::string text = ReadAll(pathSet.eventLog).substr(strlen(kHeader));
    auto line = [](const SYSTEMTIME &t) {
        char out[LOG_LINE_CAPACITY];
        LogTime lt = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
        FormatEventLine(out, sizeof out, &lt, "x");
        std::string s = out;
        s.insert(s.size() - 1, "\r");
        return s;
    };
    EXPECT_TRUE(text == line(before) || text == line(after)) << text;
}

TEST_F(LogFixture, BroadcastsWithoutATextLeaveTheFileAlone)
{
    for (uint32_t code : {0u, 9u, 10u, 0x8013u})
        LogPowerEvent(code);
    EXPECT_FALSE(Exists(pathSet.eventLog));
    LogPowerEvent(7);
    LogPowerEvent(10);
    EXPECT_EQ(Lines(ReadAll(pathSet.eventLog).substr(strlen(kHeader))),
              "Operation resuming after suspension\r\n");
}

TEST_F(LogFixture, AnExistingFileNeverGetsAHeader)
{
    WriteRaw(pathSet.eventLog, "", 0);
    LogEvent("Ampwatch started");
    EXPECT_EQ(Lines(ReadAll(pathSet.eventLog)), "Ampwatch started\r\n");

    // Someone else's content stays; the line goes after it.
    WriteRaw(pathSet.eventLog, "edited by hand", 14);
    LogStatus(255, 255, 255);
    const std::string text = ReadAll(pathSet.eventLog);
    ASSERT_EQ(text.compare(0, 14, "edited by hand"), 0) << text;
    EXPECT_EQ(Lines(text.substr(14)), "UNKNOWN, UNKNOWN, UNKNOWN\r\n");
}

TEST_F(LogFixture, ADeletedLogComesBackWithItsHeader)
{
    LogEvent("one");
    ASSERT_TRUE(DeleteFileA(pathSet.eventLog));
    LogStatus(70, 0, 0);
    const std::string text = ReadAll(pathSet.eventLog);
    ASSERT_EQ(text.compare(0, strlen(kHeader), kHeader), 0) << text;
    EXPECT_EQ(Lines(text.substr(strlen(kHeader))), "70, OFFLINE, -\r\n");
}

TEST_F(LogFixture, ALockedLogLosesOnlyTheLinesWrittenMeanwhile)
{
    LogEvent("before");
    HANDLE lock = CreateFileA(pathSet.eventLog, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    LogEvent("while locked");
    LogStatus(60, 0, 1);
    CloseHandle(lock);
    LogEvent("after");
    EXPECT_EQ(Lines(ReadAll(pathSet.eventLog).substr(strlen(kHeader))),
              "before\r\nafter\r\n");
}

TEST_F(LogFixture, AnUnwritablePlaceDropsTheLineSilently)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    snprintf(pathSet.eventLog, sizeof pathSet.eventLog, "%sampwatch-%lu-missing\\log.txt", dir,
             GetCurrentProcessId());
    LogEvent("lost");
    LogStatus(50, 1, 8);
    EXPECT_FALSE(Exists(pathSet.eventLog));
}

}  // namespace

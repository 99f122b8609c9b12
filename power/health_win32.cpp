// The battery's health: its own information comes from the battery class's
// devices, read without elevation; the record is appended to once a day.
#include <windows.h>
#include <stddef.h>

#include "app/settings.h"
#include "app/text_win32.h"
#include "platform/dynamic_calls.h"
#include "power/health.h"
#include "power/health_win32.h"
#include "res/resource.h"
// Last: its names for two charge flags mean other bits than the power status's.
#include <poclass.h>

static_assert(sizeof(BatteryInformationRecord) == sizeof(BATTERY_INFORMATION) &&
                  offsetof(BatteryInformationRecord, designedCapacity) ==
                      offsetof(BATTERY_INFORMATION, DesignedCapacity) &&
                  offsetof(BatteryInformationRecord, cycleCount) == offsetof(BATTERY_INFORMATION, CycleCount),
              "the battery information record");

// GUID_DEVCLASS_BATTERY, the class of the batteries' device interfaces.
static const GUID kBatteryClass = {0x72631e54, 0x78a4, 0x11d0, {0xbc, 0xf7, 0x00, 0xaa, 0x00, 0xb7, 0xb3, 0x2a}};

// The last local day whose line was written or found; polls of that day read
// nothing.
static int32_t recordedDay = HEALTH_NO_DAY;

struct BatteryList {
    BatteryInformationRecord records[4];
    uint32_t count;
};

// One battery's record; an empty bay counts not, a battery that does not
// answer counts with its figures unknown.
static bool ReadBattery(const char *path, void *context)
{
    static const BatteryInformationRecord kUnread = {BATTERY_CAPS_SYSTEM, 0, {0, 0, 0}, {0, 0, 0, 0},
                                                     0, 0, 0, 0, 0, 0};
    BatteryList *list = static_cast<BatteryList *>(context);
    BatteryInformationRecord *record = &list->records[list->count];
    *record = kUnread;
    HANDLE device = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (device != INVALID_HANDLE_VALUE) {
        ULONG wait = 0;
        DWORD got;
        // A query that fails leaves the tag invalid and the record unread.
        BATTERY_QUERY_INFORMATION query = {BATTERY_TAG_INVALID, BatteryInformation, 0};
        DeviceIoControl(device, IOCTL_BATTERY_QUERY_TAG, &wait, sizeof wait, &query.BatteryTag,
                        sizeof query.BatteryTag, &got, nullptr);
        if (query.BatteryTag != BATTERY_TAG_INVALID)
            DeviceIoControl(device, IOCTL_BATTERY_QUERY_INFORMATION, &query, sizeof query, record, sizeof *record,
                            &got, nullptr);
        CloseHandle(device);
        if (query.BatteryTag == BATTERY_TAG_INVALID)
            return true;
    }
    return ++list->count < ARRAYSIZE(list->records);
}

// One copy for the poll and the report: the program counts its bytes.
__attribute__((noinline)) static HealthFigures ReadHealthFigures(uint32_t maxCapacity)
{
    BatteryList list;
    list.count = 0;
    VisitDeviceInterfaces(&kBatteryClass, ReadBattery, &list);
    return CombineBatteries(maxCapacity, list.records, list.count);
}

static HealthDate Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return HealthDate{now.wYear, now.wMonth, now.wDay};
}

bool ReadBatteryState(SYSTEM_BATTERY_STATE *state)
{
    ZeroMemory(state, sizeof *state);
    LONG status = -1;
    return CallNtPowerInformationOnce(SystemBatteryState, state, sizeof *state, &status) && status == 0;
}

// The day's figures, once the battery state gives a full charge.
static bool ReadDailyFigures(HealthFigures *figures)
{
    SYSTEM_BATTERY_STATE state;
    if (!ReadBatteryState(&state) || !state.MaxCapacity || state.MaxCapacity == CAPACITY_UNKNOWN)
        return false;
    *figures = ReadHealthFigures(state.MaxCapacity);
    return true;
}

void RecordHealthDay(const PowerSample *sample)
{
    // Cheap without a battery and on a day already handled: no file, no
    // library; the battery is asked only when the day's line is due.
    const HealthDate today = Today();
    if (appGlobals.healthLog && !(sample->batteryFlag & BATTERY_NONE))
        StepHealthRecord(pathSet.healthRecord, &today, &recordedDay, ReadDailyFigures);
}

size_t AppendHealthReport(char *text, size_t length, size_t capacity, uint32_t maxCapacity)
{
    const HealthDate today = Today();
    HealthScan record;
    // With the record off no file is read: "" names none.
    ScanHealthRecord(appGlobals.healthLog ? pathSet.healthRecord : "", DayNumber(&today), &record);
    char format[TEXT_CAPACITY];
    LoadText(IDS_HEALTH_REPORT, format, sizeof format);
    const HealthFigures now = ReadHealthFigures(maxCapacity);
    return AppendHealthLines(text, length, capacity, format, &now, &record);
}

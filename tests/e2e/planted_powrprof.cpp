// A PowrProf.dll planted beside the meter: loaded, it leaves a marker file and
// reports a battery state (32 bytes) far from the simulated one.
#include <windows.h>
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA("C:\\planted-ran", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
extern "C" __declspec(dllexport) LONG WINAPI CallNtPowerInformation(int, void *, ULONG, void *out, ULONG size)
{
    DWORD *state = static_cast<DWORD *>(out);
    for (ULONG i = 0; state && i < size / 4; ++i)
        state[i] = i == 0 ? 0x0101 : 424242;  // on mains, present; capacities, rate and alerts
    return state && size >= 32 ? 0 : 1;
}

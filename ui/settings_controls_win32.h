// The settings controls of the main window: interval, alert threshold, Apply
// and the digits' colour.
#ifndef AMPWATCH_SETTINGS_CONTROLS_WIN32_H
#define AMPWATCH_SETTINGS_CONTROLS_WIN32_H

#include <windows.h>

// The controls set from the settings, with nothing pending.
void SetUpSettingsControls(HWND window);
// A change of the interval or the threshold is pending.
void EnableApply(HWND window);
// OK and Apply: take over the interval and the threshold of the controls.
// False when the threshold was refused or the window went meanwhile.
bool ApplySettings(HWND window);
// The poll timer at the current interval, replacing the one running.
void StartPollTimer(HWND window);
// The Icon... button: the digits' colour chosen, drawn and stored.
void ChooseIconColor(HWND window);

#endif

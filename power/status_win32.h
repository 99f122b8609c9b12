// The power status as the system reports it.
#ifndef AMPWATCH_STATUS_WIN32_H
#define AMPWATCH_STATUS_WIN32_H

#include "power/status.h"

// The power status now; all four values unknown when it cannot be read.
PowerSample ReadPowerStatus();

#endif

#pragma once
// The monitors as the system reports them, and the virtual screen that holds them all.
#include <vector>

#include "saver/MonitorLayout.h"

std::vector<Monitor> SystemMonitors(); // empty when the system could not say
Box VirtualScreen();                   // in screen coordinates

// The process-wide label mode of the time axes: 0 elapsed time, any other value clock time.
#pragma once

// Mode 0 labels a time axis with the time elapsed since its zero (the program's choice); any
// other mode labels it with the time of day.
void Axis_SetMode(int mode);
// The mode last set (0 at start).
int Axis_GetMode();

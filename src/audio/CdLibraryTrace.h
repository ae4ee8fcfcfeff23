// The CD-audio library's own texts in the trace log, switched on at start-up and off at shutdown.
#pragma once

// Registers the receiver that writes each text of the library at level 40, then writes
// "aspi version = %d.%d" (level 40) with the library's version.
void StartCdLibraryTrace();
// Unregisters the receiver; the library's texts are dropped from then on.
void StopCdLibraryTrace();

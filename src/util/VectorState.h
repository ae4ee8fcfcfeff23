// Clearing the upper halves of the AVX registers before plain SSE code runs.
#pragma once

// Runs vzeroupper where the CPU has AVX; does nothing elsewhere. Code built for SSE (libvorbis)
// runs several times slower while the upper halves of the AVX registers are in use ("dirty"),
// which some library loaded at start-up leaves them; call this before handing work to such code.
void ClearUpperVectorState();

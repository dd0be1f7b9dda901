// Timing helpers of the host's base library.
#ifndef QUILL_BASE_H
#define QUILL_BASE_H

#include <sys/time.h>

// Records the current time in *timer.
void StartTimer(timeval* timer);
// Microseconds since StartTimer(timer). The second argument selects nothing
// yet and is passed as 0.
int ElapsedTime(timeval* timer, int unit);

#endif

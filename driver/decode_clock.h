// The clock that times one decode call.
#ifndef TARN_DECODE_CLOCK_H
#define TARN_DECODE_CLOCK_H

void tarnldResetClock();
// Time since the last reset, in the unit of the host's ElapsedTime.
double tarnldGetClock();

#endif

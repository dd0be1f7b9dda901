// The direction across the bars around a point: where a scan line crossed a
// symbol at an angle too steep to read it, the angle of the line that can.
#ifndef TARN_HOST_BAR_DIRECTION_H
#define TARN_HOST_BAR_DIRECTION_H

#include "find/point.h"
#include "image/image.h"

// The main direction of the brightness gradient (each edge's normal, the
// stronger edges weighing more), in degrees from 0 to 180 as unit_vector's,
// in a band five pixels wide along `direction` (a unit vector), `half_length`
// pixels either side of `centre`. 0 where the band shows no edge.
double bar_direction(const grey_view& image, point centre, point direction,
                     double half_length);

#endif

// A position or direction in pixel coordinates: pixel (x, y) spans
// [x, x + 1) x [y, y + 1), y grows downwards.
#ifndef TARN_HOST_POINT_H
#define TARN_HOST_POINT_H

struct point {
  double x = 0.0;
  double y = 0.0;
};

inline point operator+(point a, point b) { return {a.x + b.x, a.y + b.y}; }
inline point operator-(point a, point b) { return {a.x - b.x, a.y - b.y}; }
inline point operator*(double s, point a) { return {s * a.x, s * a.y}; }
inline double dot(point a, point b) { return a.x * b.x + a.y * b.y; }
// `a` turned a quarter turn from +x towards +y.
inline point quarter_turn(point a) { return {-a.y, a.x}; }

#endif

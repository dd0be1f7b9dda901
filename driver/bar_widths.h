// Edge positions to module counts.
#ifndef TARN_BAR_WIDTHS_H
#define TARN_BAR_WIDTHS_H

#include <vector>

// Appends the module counts of the n elements between edges[0] and edges[n],
// which together span `modules` modules; returns their module width.
double NormalizeBarsCode39Ext(const double* edges, std::vector<char>& counts,
                              int n, int modules);

// 1 when the n module widths agree (population variance below 0.25), else 0.
int CheckMeanCode39ExtModuleWidths(const double* widths, int n);

// Converts every element of a scan line, with bar and space module widths
// estimated apart from a reference window of known module content.
void tarnNormalizeBars(const std::vector<double>& edges,
                       std::vector<char>& counts, double& ratio,
                       int windowStart, int windowElements, int windowModules,
                       int windowBars, int windowBarModules);

#endif

#pragma once

class QChart;

// Gives a chart the program's look: the light theme without animations,
// and the program's font (which shows Chinese) on its title, legend and
// axes. A theme resets the label fonts, so this comes after the theme and
// again for axes added later.
void ApplyChartLook(QChart* chart);

// The units-and-geometry library: value classes with their unit and style
// settings, angle texts, and circles and arcs through three points.
#pragma once
#include "msr/Settings.h"
#include "msr/Values.h"
#include "msr/Angular.h"
#include "msr/Points.h"
#include "msr/ArcCircle.h"

// The units-and-geometry library: value classes with their unit and style
// settings, angle texts, and circles and arcs through three points.
#pragma once
#include "msr/Angular.h"
#include "msr/ArcCircle.h"
#include "msr/Points.h"
#include "msr/Settings.h"
#include "msr/Values.h"

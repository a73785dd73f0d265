// libzep: two-dimensional scientific graphics. Include this one header.
// Single-threaded: one thread calls the library (see the sessions in graphics.hpp).
#pragma once

#include <zep/foundation.hpp>
#include <zep/workstation.hpp>
#include <zep/driver.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/axes.hpp>
#include <zep/contour.hpp>
#include <zep/geography.hpp>
#include <zep/colour.hpp>
#include <zep/vector.hpp>
#include <zep/charts.hpp>
#include <zep/figure.hpp>

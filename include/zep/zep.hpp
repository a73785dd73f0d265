// libzep: two-dimensional scientific graphics. Include this one header.
#pragma once

#include <zep/foundation.hpp>
#include <zep/workstation.hpp>
#include <zep/driver.hpp>
#include <zep/graphics.hpp>
#include <zep/primitives.hpp>
#include <zep/axes.hpp>
#include <zep/contour.hpp>
#include <zep/figure.hpp>

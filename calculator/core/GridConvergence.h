// The meridian convergence of Lambert 93 at a place: the angle from true north
// to the grid north of French maps, through the engine's own projection.
#ifndef NORVANE_GRIDCONVERGENCE_H
#define NORVANE_GRIDCONVERGENCE_H

#include "geokern2.h"

// The convergence in degrees at a point of any system of the catalogue,
// positive when grid north lies east of true north (east of the cone's central
// meridian, 3 degrees E), as PROJ and GeographicLib count it. A magnetic
// declination D (east positive) then makes the angle D - convergence with
// grid north. pfnTransform is the engine's SysCoord2SysCoord. False when the
// engine cannot bring the point to RGF93 (or pfnTransform is null).
bool Lambert93Convergence(COORDONNEES_TYPE_NC point, Liste_SysCoord eSystem, PFN_SysCoord2SysCoord pfnTransform,
                          double* pdDegrees);

#endif

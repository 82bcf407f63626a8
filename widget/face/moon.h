// The moon's phase as a percentage of the lunation and the index of the moon picture.
#pragma once

#include "widget/system_time.h"

namespace nimbo {

// 0 to 100 for a local calendar moment: how far into its lunation the moon is, counted from the new moon of
// 25 June 2006 18:05 local time; 100 stands for an exact new moon.
int MoonPhase(const SystemTime& moment);

// 0 to 28 for a phase: phase × 0.279 rounded to the nearest whole number, halves to even.
int MoonIndexOfPhase(int phase);

// 0 to 28 for the day of `today` (taken at 00:00): the picture and the name row of the moon.
int MoonIndex(const SystemTime& today);

// The number of the moon picture for an index: the set has 0 to 27, and 28, a whole lunation, is the new moon.
int MoonPictureNumber(int moonIndex);

}  // namespace nimbo

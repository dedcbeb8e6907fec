#pragma once

#include <windows.h>

// Clicking the running stand-in's map by position, from any process: what
// `OziExp.exe --click` and the test driver do.

// Results of OziSimClickAt besides the number of programs reached.
inline constexpr int kOziSimClickOffMap = -1;
inline constexpr int kOziSimClickNoMap = -2;

// Acts as a left click on the stand-in's map at the position. Returns how
// many programs took the click (after their callbacks returned),
// kOziSimClickOffMap for a point outside the map, kOziSimClickNoMap when no
// map window runs or it did not answer within the time limit.
int OziSimClickAt(double latitude, double longitude, DWORD timeoutMs = 30000);

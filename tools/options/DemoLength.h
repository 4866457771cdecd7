#pragma once

// The longest demo the tools take, in seconds (about eleven and a half days): far beyond any
// demo, and small enough that frame numbers at any rate they draw at stay exact. Times past it
// are cut to it.
constexpr double longestDemoSeconds = 1e6;

#pragma once

// Moves the calling thread into the idle class: it runs only on time that nothing else wants,
// and GL's rasteriser threads take a core back the moment they wake, which a nice value only
// makes likely. The policy belongs to the thread, and threads it starts later inherit it.
// Failing to set it only costs speed.
void lowerThisThreadsPriority();

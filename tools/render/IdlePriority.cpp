#include "IdlePriority.h"

#include <sched.h>

void lowerThisThreadsPriority() {
    sched_param unused{};
    sched_setscheduler(0, SCHED_IDLE, &unused);
}

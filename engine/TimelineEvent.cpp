#include "TimelineEvent.h"

const char* eventKindName(EventKind kind) {
    switch (kind) {
    case EventKind::Init: return "Init";
    case EventKind::Start: return "Start";
    case EventKind::Stop: return "Stop";
    case EventKind::Trigger: break;
    }
    return "Trigger";
}

#include "ScriptCheck.h"

#include "ContainerNode.h"
#include "DemoSystem.h"
#include "EffectCatalogue.h"
#include "FuzzSupport.h"
#include "LoadError.h"
#include "ScriptErrors.h"
#include "ScriptLoader.h"
#include "TimelineLoader.h"
#include "TimelinePrinter.h"
#include "Writer.h"

#include <cmath>
#include <sstream>

namespace {

void printTree(const std::string& name) {
    const auto cursor = loadScript(name);
    std::ostringstream text;
    writeNode(*cursor->getRoot(), text, 0);
}

void checkTimeline(const std::vector<TimelineEvent>& events) {
    require(events.size() <= TimelineLoader::maxEvents, "more events than the timeline allows");
    for (std::size_t i = 0; i < events.size(); ++i) {
        require(std::isfinite(events[i].time), "an event at a time that is not finite");
        require(i == 0 || events[i - 1].time <= events[i].time, "events out of time order");
        require(events[i].effect != nullptr, "an event without its effect");
    }
    std::ostringstream listing;
    printTimeline(events, listing);
}

} // namespace

void checkScript(const std::string& name) {
    try {
        printTree(name);
        DemoSystem demo;
        const EffectCatalogue effects;
        demo.loadTimeline(name);
        checkTimeline(demo.getEvents());
    } catch (const Errors::LoadError& error) {
        require(!error.getMessage().empty(), "a load error without a message");
    } catch (const Errors::DataBaseError& error) {
        require(!error.getMessage().empty(), "a data base error without a message");
    }
}

#include "DemoChecks.h"

#include "DomCursor.h"
#include "Effect.h"
#include "EffectCatalogue.h"
#include "ScriptChecks.h"
#include "ScriptLoader.h"

std::vector<Diagnostic> demoWarnings(DomCursor& script, const std::vector<Effect*>& registry) {
    ScriptFacts facts;
    facts.notes = &script.getNotes();
    facts.records = readScriptRecords(script, registry);
    for (const Effect* effect : registry)
        facts.effectNames.push_back(effect->getName());
    facts.inputsOf = EffectCatalogue::inputsOf;
    return checkScript(facts);
}

std::vector<Diagnostic> demoWarnings(const std::string& scriptName,
                                     const std::vector<Effect*>& registry) {
    const auto script = loadScript(scriptName);
    return demoWarnings(*script, registry);
}

#include "ScriptRecord.h"

#include "ContainerNode.h"
#include "DomCursor.h"
#include "Effect.h"
#include "TimelineLoader.h"

const std::string& ScriptRecord::effectName() const {
    return effect().getName();
}

const std::vector<float>& ScriptRecord::numbers() const {
    return isEffect() ? events[0].parameters : events[0].message->parameters;
}

SourcePlace ScriptRecord::place() const {
    return node ? node->getPlace() : SourcePlace{};
}

SourcePlace ScriptRecord::placeOf(const std::string& key) const {
    const DataNode* value = node ? node->childByName(key) : nullptr;
    return value ? value->getPlace() : place();
}

SourcePlace ScriptRecord::placeOf(const std::string& key, std::size_t index) const {
    const ContainerNode* values = node ? node->childByNameAsContainer(key) : nullptr;
    const DataNode* value = values ? values->childAt(index) : nullptr;
    return value ? value->getPlace() : placeOf(key);
}

std::vector<ScriptRecord> readScriptRecords(DomCursor& cursor,
                                            const std::vector<Effect*>& registry) {
    std::vector<ScriptRecord> records;
    TimelineLoader loader(registry);
    for (cursor.selectNext(); cursor.getCurrent(); cursor.selectNext()) {
        const std::string recordName = cursor.getCurrent()->getName();
        cursor.enter();
        const std::string type = cursor.typeName();
        ScriptRecord record;
        record.name = recordName;
        record.node = cursor.getBranch();
        if (type == "DemoEffect") {
            loader.readEffectRecord(cursor, recordName);
            record.events = loader.takeEvents();
        } else if (type == "DemoTrigger") {
            loader.readTriggerRecord(cursor, recordName);
            record.type = ScriptRecord::Type::Trigger;
            std::vector<TimelineEvent> deliveries = loader.takeEvents();
            record.deliveries = deliveries.size();
            // The first one holds all there is to say of the others but their times.
            deliveries.resize(1);
            record.events = std::move(deliveries);
        }
        cursor.leave();
        if (!record.events.empty())
            records.push_back(std::move(record));
    }
    return records;
}

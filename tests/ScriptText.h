#pragma once

#include <string>

// Pieces of demo scripts for tests. Every script declares its record types first.
inline const std::string recordTypes = R"(
typedef block DemoEffect { string identifier; int layer; float initTime; float startTime;
    float stopTime; array [string] data; array [float] parameters; };
typedef block DemoTrigger { string effectId; string triggerId; bool periodic; float beginTime;
    float endTime; float delay; array [float] parameters; };
)";

// "DemoEffect <record> ( <effect> <layer> <init> <start> <stop> ( <data> ) ( <parameters> ) );"
inline std::string effectRecord(const std::string& record, const std::string& effect, int layer,
                                const std::string& init, const std::string& start,
                                const std::string& stop, const std::string& data = "",
                                const std::string& parameters = "") {
    return "DemoEffect " + record + " ( " + effect + " " + std::to_string(layer) + " " + init +
           " " + start + " " + stop + " ( " + data + " ) ( " + parameters + " ) );\n";
}

inline std::string triggerRecord(const std::string& record, const std::string& effect,
                                 const std::string& triggerId, bool periodic,
                                 const std::string& begin, const std::string& end,
                                 const std::string& delay, const std::string& parameters = "") {
    return "DemoTrigger " + record + " ( " + effect + " " + triggerId + " " +
           (periodic ? "true " : "false ") + begin + " " + end + " " + delay + " ( " + parameters +
           " ) );\n";
}

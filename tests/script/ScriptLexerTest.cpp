#include "ScriptLexer.h"

#include <sstream>

#include <gtest/gtest.h>

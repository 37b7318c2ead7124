#pragma once
// Program folders for the dialog tests: in memory or real ones in a temporary folder.

#include "tests/unit/memory_tree.h"
#include "tests/unit/temp_tree.h"

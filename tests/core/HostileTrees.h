#pragma once

#include "FixtureTree.h"
#include "TreeInvariants.h"

#include <functional>
#include <string>
#include <vector>

// Trees that nobody makes on purpose but a listing meets anyway, made on the real file system.
// Each maker builds its tree in a fresh fixture and returns what a complete listing of it must
// count, worked out from what it made.
struct HostileTree {
    const char* Name; // a test row's name: letters and digits
    std::function<TreeCounts(FixtureTree&)> Make;
    // The names of the directories made below the start, where the case is about names.
    std::vector<std::string> DirNames;
};

const std::vector<HostileTree>& HostileTrees();

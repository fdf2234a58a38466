#pragma once
// The commands' own runs, and what they share. Inside commands/ only.
#include <cstdint>
#include <vector>

#include "commands/commands.hpp"
#include "commands/request.hpp"
#include "search/tree.hpp"

namespace cp {

int run_search_command(const CommandRequest& request, const CommandEnvironment& environment);
int run_count_command(const CommandRequest& request, const CommandEnvironment& environment);
int run_sequence_command(const CommandRequest& request, const CommandEnvironment& environment);

// The threads to work on: --jobs, or every core; one where there are none.
std::int32_t jobs_for(const CommandRequest& request, const CommandEnvironment& environment);

// The parts of the tree down to `deepest` that the request walks: the whole
// tree, or the piece of --part.
std::vector<TreePart> parts_for(const CommandRequest& request, std::int32_t deepest);

// The parts that hold every node the walk meets before `node`, except the
// nodes on the path from 1 to it: the subtrees that the path leaves on its
// left. Counting their records gives the rows before the node's.
std::vector<TreePart> parts_before(StepRules rules, const TreeNode& node);

// Writes what is left, reports a failed output on standard error, and gives
// the exit status: a reader that went away is no failure.
int finish_command(RecordOutput& output, const CommandRequest& request,
                   const CommandEnvironment& environment, bool interrupted);

}  // namespace cp

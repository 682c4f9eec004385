#pragma once

#include <string>
#include <vector>

#include "core/command_table.hpp"
#include "core/model_state.hpp"

namespace zelo::core {

// Puts in place what a command line or a script line gives its command
// beyond the addresses: the erase command's file (token 2; the configured
// one is remembered for a save meanwhile) and the run command's program
// (token 2, from the RAM disk). Other commands take nothing. The tokens
// have passed CheckRunArguments.
void PutCommandLineValues(const std::vector<std::string>& tokens, int commandCode,
                          ModelState& state, CommandArguments& args);

}  // namespace zelo::core

// Placeholder until the command layer lands.
#include "drvcmd/generic_commands.h"

#include "support/program_state.h"

// The one AppState of the program.
#include "shell/app_state.h"

AppStateRecord AppState;

// The console's buffers: prepared by the engine's start-up, released at shutdown.
#include "scene/console_buffers.h"

#include <cstdlib>

#include "gamedata/table_memory.h"

char CommandLine[COMMAND_LINE_BYTES] = {};
int CommandLength = 0;
char* CommandTokens[COMMAND_TOKEN_COUNT] = {};

void InitConsoleBuffers() {
    CommandLength = 0;
    CommandLine[0] = '\0';
    for (char*& token : CommandTokens) {
        std::free(token);  // a second start-up reuses nothing stale
        token = CreateTableOf<char>("console token buffers", COMMAND_TOKEN_BYTES);
    }
}

void ReleaseConsoleBuffers() {
    for (char*& token : CommandTokens) {
        std::free(token);
        token = nullptr;
    }
}

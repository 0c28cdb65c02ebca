// The console's command line and the token blocks its commands are split into.
#pragma once

constexpr int COMMAND_LINE_BYTES = 256;
constexpr int COMMAND_TOKEN_COUNT = 20;
constexpr int COMMAND_TOKEN_BYTES = 256;

extern char CommandLine[COMMAND_LINE_BYTES];      // NUL-terminated
extern int CommandLength;                         // characters in CommandLine
extern char* CommandTokens[COMMAND_TOKEN_COUNT];  // COMMAND_TOKEN_BYTES each once created

// Empties the line and creates the token blocks, each holding the empty string.
void InitConsoleBuffers();
void ReleaseConsoleBuffers();

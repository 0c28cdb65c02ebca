// Engine start-up (to be written: tables, pictures, item templates).
#include "gamedata/game_data.h"

#include "draw/trig_tables.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"

void InitGameData() {
    ResizeFrame(AppState.frameWidth, AppState.frameHeight);
    BuildTrigTables();
}

void ReleaseGameData() { ReleaseTrigTables(); }

#pragma once
// The player controller on its own: a fake shell whose window holds the
// player panel, scripted prompts, and the sound system and queue, which
// outlive the panel as the application's do.
#include "gui/player/PlayerController.h"
#include "scripted_prompts.h"

struct TPlayerRig {
    explicit TPlayerRig(TPlayerAlbumSource& albums)
        : player(new TPlayerController(shell, prompts, albums, playback, shell.Window())) {}

    TPlayback playback;
    TScriptedPrompts prompts;
    TFakeShell shell;
    TPlayerController* player;  // a child of the shell's window
};

#pragma once

// The simulation only asks for the collision sound to start; whoever owns an audio device
// installs the player. Requests made while no player is installed are dropped.
using SoundPlayer = void (*)(void* context);

// Installs the process-wide player (nullptr removes it).
void setSoundPlayer(SoundPlayer player, void* context);

// Asks the installed player to start "Data/Explode.wav" and returns at once.
void requestSound();

#pragma once

#include "Sound.h"

// A piece of music: what the program keeps as its one current player, whatever kind it is.
class MusicPlayer : public Sound {
protected:
    using Sound::Sound;
};

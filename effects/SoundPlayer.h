#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"

#include <string_view>

// Starts the music and ends the demo; draws nothing. Its first frame opens the music named by
// its first data string, once per process: the demo clock stands at 0 until then. "TheEnd"
// fades the music out one volume step per drawn frame, and the demo is over once it is silent.
class SoundPlayer : public SavableEffect<SoundPlayer> {
public:
    // The music group's master volume while the music plays.
    static constexpr int fullVolume = 200;
    static constexpr std::string_view theEnd = "TheEnd";
    // What a script can hand it, stated for the effect and the checks of scripts alike: the
    // music, and "TheEnd", which fades the music out one volume step a frame.
    static constexpr EffectInputs inputs = EffectInputs::musicPlayer(theEnd, fullVolume);

    explicit SoundPlayer(const std::string& name) : SavableEffect(name) {}

    // Starts the sound library; a library that cannot start leaves the music silent.
    void init() override;
    void render() override;
    // "TheEnd" starts the fade-out; every other trigger is ignored.
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // True once the fade-out has reached silence; it stays so.
    bool isFinished() const { return finished; }
    int getVolume() const { return volume; }

    // Whether some sound player of this process has had its first frame.
    static bool musicLoaded();

    // What the whole class keeps rather than of one object: the two objects of a
    // pair advance it together, and it keeps its value while an effect stops and starts again.
    // Kept in one struct, so that saving the demo's state takes all of it.
    struct ProgramWide {
        // The music is chosen once for the whole run: a second record for the sound player, or a
        // second player, does not change it.
        bool loaded = false;
    };
    static ProgramWide programWide;

private:
    void loadMusicOnce();
    void fadeStep();

    bool fading = false;
    bool finished = false;
    int volume = fullVolume;
};

#include "Viewer.h"

#include "DemoSystem.h"
#include "DiagnosticPrinter.h"
#include "Dialogs.h"
#include "Effect.h"
#include "EffectCatalogue.h"
#include "FileLoader.h"
#include "FileReport.h"
#include "FramePacer.h"
#include "HelpOverlay.h"
#include "LoadError.h"
#include "MainLoop.h"
#include "Music.h"
#include "MusicWaveform.h"
#include "PortablePath.h"
#include "ScriptErrors.h"
#include "ScriptLoader.h"
#include "ShownFrame.h"
#include "SoundLibrary.h"
#include "StopSignals.h"
#include "TextureManager.h"
#include "TimelineChange.h"
#include "TimelineLoader.h"
#include "ToolSupport.h"
#include "ViewClock.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <optional>
#include <stdexcept>
#include <thread>

namespace {

constexpr int sampleRate = 44100;
// GL_ALL_ATTRIB_BITS as OpenGL 1.1 defines it.
constexpr GLbitfield allAttributeBits = 0x000FFFFF;
// The frames after a load by which a music stream must be playing for the music clock to run.
constexpr long framesToStartMusic = 2;
// What the snapshots may hold together; past it they are kept further apart.
constexpr std::size_t snapshotBudget = std::size_t{768} << 20;

std::string twoPlaces(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

Viewer::Viewer(ViewOptions options) : options(std::move(options)), snapshots(snapshotBudget) {}

// The effects go while their GL context is still there.
Viewer::~Viewer() {
    effects.reset();
    demo.reset();
    runExitActions();
}

double Viewer::now() const {
    return clock ? clock->time() : 0.0;
}

int Viewer::run() {
    demo = std::make_unique<DemoSystem>();
    if (!openWindow())
        return 1;
    // The replay steps the music by the frame; it plays on the device from the time shown.
    SoundLibrary::instance().setOutput(options.at > 0.0 || options.paused ? AudioOutput::Offline
                                                                          : AudioOutput::Device);
    auto viewClock = std::make_unique<ViewClock>(options.clock);
    clock = viewClock.get();
    demo->setClock(std::move(viewClock));
    if (options.clock == ClockKind::Free)
        musicChecked = true;
    effects = std::make_unique<EffectCatalogue>();
    // Looked at before the load that plays, so that a save during it is seen.
    std::string listError;
    fileWatch.watch(scriptFiles(listError));
    loadDemo();

    if (options.at > 0.0 && loaded) {
        const auto began = Clock::now();
        if (!seekTo(options.at))
            return 0;
        const double spent = std::chrono::duration<double>(Clock::now() - began).count();
        std::cerr << "reelview: replayed " << twoPlaces(now()) << " s in " << twoPlaces(spent)
                  << " s (" << twoPlaces(spent > 0 ? now() / spent : 0.0) << "x real time), "
                  << snapshots.size() << " snapshots kept (" << snapshots.byteSize() / 1024
                  << " KiB)\n";
        if (!options.paused)
            SoundLibrary::instance().switchOutput(AudioOutput::Device);
    }

    GLWindow& window = demo->getWindow();
    window.holdScreenSaver();
    std::optional<FramePacer> pacer;
    if (!window.hasVsync())
        pacer.emplace(window.getRefreshRate());
    rateStart = Clock::now();
    while (handleEvents()) {
        if (StopSignals::requested())
            break;
        checkFiles();
        if (!ended && effects->demoFinished()) {
            // The last frame stays: the end is worked on as much as the rest.
            ended = true;
            if (!options.paused)
                togglePause();
            std::cerr << "reelview: the demo has ended at " << twoPlaces(now())
                      << " s; Home plays it again\n";
        }
        if (options.paused && !frameDue && !stepDue) {
            updateTitle(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (stepDue)
            stepClock(std::lround(now() * ViewClock::frameRate));
        frameDue = stepDue = false;
        if (options.loopStart && options.loopEnd && now() >= *options.loopEnd &&
            !seekTo(*options.loopStart))
            break;
        showFrame();
        ++rateFrames;
        updateTitle(false);
        if (pacer)
            pacer->waitForNextFrame();
    }
    const int signal = StopSignals::requested();
    return signal ? StopSignals::exitStatus(signal) : 0;
}

// The window may be resized and made to fill the screen: the picture keeps 4:3 at any size.
bool Viewer::openWindow() {
    const SurfaceRequest surface{options.width, options.height, true};
    return demo->createWindow(false, Dialogs::system(), surface);
}

// The first load: a script that does not load ends the viewer with its error. The demo as loaded
// is what every seek back to the start puts back.
void Viewer::loadDemo() {
    demo->loadTimeline(options.script);
    loaded = true;
    reportWarnings();
    start = demo->saveState();
}

// As reelcheck gives them, after every load: a reload is as good a time as any to hear of them.
void Viewer::reportWarnings() {
    try {
        const std::vector<Diagnostic> warnings = warningReader.read(
            options.script, demo->getRegistry(), demo->getEvents(),
            clock->kind() == ClockKind::Free ? DemoClockKind::Free : DemoClockKind::Music);
        printDiagnostics(std::cerr, warnings);
        warningCount = warnings.size();
    } catch (const std::exception&) {
        // Changed again since it loaded: the next load reports.
    } catch (const Errors::LoadError&) {
    } catch (const Errors::DataBaseError&) {
    }
}

void Viewer::stepClock(long frame) {
    if (clock->kind() == ClockKind::Free) {
        clock->stepFrame();
        return;
    }
    // Whole samples per frame, spread so that 60 frames are exactly a second of music.
    const std::int64_t samples =
        (frame + 1) * sampleRate / ViewClock::frameRate - frame * sampleRate / ViewClock::frameRate;
    std::vector<float> audio(static_cast<std::size_t>(samples) * 2);
    SoundLibrary::instance().renderOffline(audio.data(), static_cast<std::size_t>(samples));
}

void Viewer::checkMusic() {
    if (musicChecked || !loaded || ++framesDrawn < framesToStartMusic)
        return;
    musicChecked = true;
    if (currentStream())
        return;
    // The music clock would stand at 0 for good.
    std::string why = warningReader.musicProblem();
    if (why.empty())
        why = "no music stream plays";
    std::cerr << "reelview: the music cannot be played (" << oneLine(why)
              << "): running on a free clock, frame n at n/60 s\n";
    clock->runFree(0.0);
    options.clock = ClockKind::Free;
    updateTitle(true);
}

void Viewer::showFrame() {
    lastDrawn = now();
    demo->drawFrame();
    if (saveDue)
        saveFrame();
    saveDue = false;
    if (helpShown)
        HelpOverlay(viewerKeys()).draw();
    demo->getWindow().swapBuffers();
    checkMusic();
    if (!options.paused && clock->kind() == ClockKind::Free)
        clock->stepFrame();
    keepSnapshot();
}

void Viewer::keepSnapshot() {
    if (!loaded || options.snapshotEvery <= 0.0)
        return;
    const std::optional<double> latest = snapshots.latestTime();
    if (lastDrawn <= 0.0 || (latest && lastDrawn - *latest < options.snapshotEvery))
        return;
    DemoSnapshot snapshot = demo->saveState();
    const double time = snapshot.time();
    snapshots.keep(time, std::move(snapshot));
}

// The frame drawn at a snapshot's time has been drawn: the next comes after it. Music is put
// back to the sample; a free clock is set to the frame after.
void Viewer::putBack(const DemoSnapshot& snapshot, bool atStart) {
    demo->restoreState(snapshot);
    if (clock->kind() == ClockKind::Free) {
        clock->setTime(snapshot.time());
        if (!atStart)
            clock->stepFrame();
    }
    ended = effects->demoFinished();
}

bool Viewer::seekTo(double target) {
    target = std::max(0.0, target);
    SoundLibrary::instance().switchOutput(AudioOutput::Offline);
    // The latest snapshot whose frame came before the target; the start for 0.
    const DemoSnapshot* from = snapshots.latestAtOrBefore(target - 1e-6);
    const bool fromStart = !from;
    if (fromStart && start)
        from = &*start;
    const double here = now();
    if (from && (target < here || from->time() > here || ended))
        putBack(*from, fromStart);
    if (!replayTo(target))
        return false;
    if (!options.paused && !ended)
        SoundLibrary::instance().switchOutput(AudioOutput::Device);
    // The replay showed its progress, not the frame it reached.
    frameDue = true;
    updateTitle(true);
    return true;
}

bool Viewer::replayTo(double target) {
    replaying = true;
    const bool done = replayFrames(target);
    replaying = false;
    return done;
}

bool Viewer::replayFrames(double target) {
    SoundLibrary::instance().switchOutput(AudioOutput::Offline);
    const double from = now();
    // The music clock stands while no music plays: the frame count bounds the replay then.
    const long limit = static_cast<long>(std::ceil((target - from) * ViewClock::frameRate)) + 2;
    auto lastProgress = Clock::now();
    for (long frame = 0; frame < limit && now() < target - 1e-9; ++frame) {
        // Rasterisation is clipped to one pixel and nothing is shown: the frame only moves
        // the effects' state on.
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 1, 1);
        lastDrawn = now();
        demo->drawFrame();
        glDisable(GL_SCISSOR_TEST);
        // GL queues unshown frames without bound otherwise.
        glFinish();
        stepClock(frame);
        keepSnapshot();
        if (!musicChecked) {
            checkMusic();
            if (clock->kind() == ClockKind::Free)
                clock->setTime(static_cast<double>(frame + 1) / ViewClock::frameRate);
        }
        if (Clock::now() - lastProgress > std::chrono::milliseconds(100)) {
            lastProgress = Clock::now();
            if (!handleEvents() || StopSignals::requested())
                return false;
            drawProgress((now() - from) / std::max(target - from, 1e-6));
            demo->setTitle("replaying " + twoPlaces(now()) + " / " + twoPlaces(target) + " s");
        }
    }
    return true;
}

void Viewer::drawProgress(double done) {
    const float fraction = static_cast<float>(std::clamp(done, 0.0, 1.0));
    glPushAttrib(allAttributeBits);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    // The whole surface, bars too, is cleared; the bar sits on the picture.
    glViewport(0, 0, demoSurface().width(), demoSurface().height());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    demoSurface().setPictureViewport();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(0.3f, 0.3f, 0.3f);
    glRectf(0.1f, 0.47f, 0.9f, 0.53f);
    glColor3f(0.2f, 0.7f, 1.0f);
    glRectf(0.1f, 0.47f, 0.1f + 0.8f * fraction, 0.53f);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    demo->getWindow().swapBuffers();
}

bool Viewer::handleEvents() {
    while (const auto event = demo->getWindow().pollEvent()) {
        if (event->type == WindowEvent::Type::Quit)
            return false;
        if (event->type == WindowEvent::Type::Resized) {
            // A paused view is drawn again at the new size.
            frameDue = true;
            continue;
        }
        if (event->type != WindowEvent::Type::KeyDown)
            continue;
        // A replay runs to its end: a seek meanwhile would pull the demo from under it.
        if (replaying && event->key != MainLoop::escapeKey)
            continue;
        const double step = event->shift ? 10.0 : 1.0;
        switch (event->named) {
        case WindowEvent::Named::Right: seekBy(step); continue;
        case WindowEvent::Named::Left: seekBy(-step); continue;
        case WindowEvent::Named::Home:
            // After the end, Home plays the demo again.
            if (ended)
                options.paused = false;
            if (!seekTo(0.0))
                return false;
            continue;
        case WindowEvent::Named::F1: handleKey('H'); continue;
        case WindowEvent::Named::F11: toggleFullscreen(); continue;
        case WindowEvent::Named::None: break;
        }
        if (event->key == MainLoop::escapeKey)
            return false;
        handleKey(event->key);
    }
    return !quit;
}

void Viewer::handleKey(int key) {
    switch (key) {
    case ' ': togglePause(); break;
    case '.':
        if (options.paused)
            stepDue = true;
        break;
    case 'F': toggleFullscreen(); break;
    case 'H':
        helpShown = !helpShown;
        frameDue = true;
        break;
    case 'S':
        // What the front buffer holds after a swap is not to be relied on: the frame is drawn
        // again and saved before it is shown.
        saveDue = frameDue = true;
        break;
    case '[':
        options.loopStart = now();
        if (options.loopEnd && *options.loopEnd <= *options.loopStart)
            options.loopEnd.reset();
        updateTitle(true);
        break;
    case ']':
        if (!options.loopStart || now() > *options.loopStart)
            options.loopEnd = now();
        if (!options.loopStart)
            options.loopStart = 0.0;
        updateTitle(true);
        break;
    default: break;
    }
}

void Viewer::togglePause() {
    // The end holds: only a seek back plays on from there.
    if (ended && options.paused)
        return;
    options.paused = !options.paused;
    SoundLibrary::instance().switchOutput(options.paused ? AudioOutput::Offline
                                                         : AudioOutput::Device);
    updateTitle(true);
}

// The desktop's own mode: no display mode switch, so the other windows keep their places.
void Viewer::toggleFullscreen() {
    GLWindow& window = demo->getWindow();
    window.setDesktopFullscreen(!window.isDesktopFullscreen());
    frameDue = true;
}

void Viewer::saveFrame() {
    try {
        const auto name = saveShownFrame(options.script, now());
        std::cerr << "reelview: saved " << name.string() << '\n';
    } catch (const std::exception& problem) {
        std::cerr << "reelview: cannot save the frame: " << problem.what() << '\n';
    }
}

void Viewer::seekBy(double seconds) {
    // A seek back from the end plays on from there.
    if (ended && seconds < 0.0)
        options.paused = false;
    if (ended && seconds > 0.0)
        return;
    if (!seekTo(now() + seconds))
        quit = true;
}

// "name (Effect layer)" for each record showing, lowest layer first.
std::string Viewer::showingRecords() const {
    std::string shown;
    for (const Effect* effect : demo->getActiveEffects()) {
        const RecordSpan* record = recordShowing(warningReader.records(), effect, now());
        shown += " ";
        if (record)
            shown +=
                record->name + " (" + effect->getName() + " " + std::to_string(record->layer) + ")";
        else
            shown += effect->getName();
    }
    return shown;
}

void Viewer::updateTitle(bool force) {
    const auto time = Clock::now();
    const double elapsed = std::chrono::duration<double>(time - rateStart).count();
    if (elapsed >= 1.0) {
        frameRate = rateFrames / elapsed;
        rateFrames = 0;
        rateStart = time;
    }
    if (!force && time - lastTitle < std::chrono::milliseconds(200))
        return;
    lastTitle = time;
    std::string title =
        twoPlaces(now()) + " s  " + std::to_string(std::lround(frameRate)) + " fps ";
    title += showingRecords();
    if (ended)
        title += "  [end]";
    else if (options.paused)
        title += "  [paused]";
    if (options.loopStart && options.loopEnd)
        title +=
            "  [loop " + twoPlaces(*options.loopStart) + "-" + twoPlaces(*options.loopEnd) + "]";
    if (clock && clock->kind() == ClockKind::Free)
        title += "  [free clock]";
    if (warningCount > 0)
        title +=
            "  " + std::to_string(warningCount) + (warningCount == 1 ? " warning" : " warnings");
    if (!error.empty())
        title += "  error: " + error;
    demo->setTitle(title);
}

// The files a load of the script reads, and the pictures and music its effects will load. The
// load is a check only: the running timeline stays as it is.
std::vector<std::filesystem::path> Viewer::scriptFiles(std::string& failure,
                                                       std::vector<std::filesystem::path>* sources,
                                                       std::vector<TimelineEvent>* events) {
    std::vector<std::filesystem::path> files;
    failure.clear();
    recordOpenedFiles(&files);
    try {
        const auto cursor = loadScript(options.script);
        TimelineLoader loader(demo->getRegistry());
        loader.readScript(*cursor);
        recordOpenedFiles(nullptr);
        if (sources)
            *sources = files;
        std::vector<TimelineEvent> loaded = loader.takeEvents();
        FileReport report;
        report.addEffectFiles(loaded);
        for (const std::string& name : report.names()) {
            if (auto watched = watchedPortablePath(name); !watched.empty())
                files.push_back(std::move(watched));
        }
        if (events) {
            // As the engine orders them: events of equal time in the order the script made them.
            std::stable_sort(
                loaded.begin(), loaded.end(),
                [](const TimelineEvent& a, const TimelineEvent& b) { return a.time < b.time; });
            *events = std::move(loaded);
        }
    } catch (const Errors::LoadError& problem) {
        failure = problem.getMessage();
    } catch (const Errors::DataBaseError& problem) {
        failure = problem.getMessage();
    } catch (const std::exception& problem) {
        failure = problem.what();
    }
    recordOpenedFiles(nullptr);
    return files;
}

void Viewer::checkFiles() {
    const std::vector<std::filesystem::path> changed = fileWatch.settledChanges();
    if (!changed.empty())
        reload(changed);
}

namespace {

// When a record first loads `file` in either timeline: the time of its set-up (an effect's own
// default picture counts); 0 for the music, which its player opens once; infinity when nothing
// loads it.
double firstUse(const std::vector<TimelineEvent>& before, const std::vector<TimelineEvent>& after,
                const std::filesystem::path& file) {
    double first = std::numeric_limits<double>::infinity();
    for (const auto* events : {&before, &after}) {
        if (const auto music = findMusic(*events); music && watchedPortablePath(*music) == file)
            return 0.0;
        for (const TimelineEvent& event : *events) {
            if (event.kind != EventKind::Init || event.time >= first)
                continue;
            FileReport report;
            report.addEffectFiles({event});
            for (const std::string& name : report.names()) {
                if (watchedPortablePath(name) == file)
                    first = event.time;
            }
        }
    }
    return first;
}

} // namespace

// The edit's first effect is found by comparing the timelines, and a changed picture's or
// music's by the first record that loads it: everything before plays as it did, so the
// snapshots before it hold and the demo resumes from the latest. The changed pictures are read
// again when next used; the snapshots after that time, which hold the old ones, are dropped.
void Viewer::reload(const std::vector<std::filesystem::path>& changed) {
    std::string failure;
    std::vector<std::filesystem::path> sources;
    std::vector<TimelineEvent> events;
    const auto read = scriptFiles(failure, &sources, &events);
    fileWatch.watch(read);
    if (!failure.empty()) {
        // The last good demo plays on until the script loads again.
        error = oneLine(failure);
        std::cerr << "reelview: " << error << '\n';
        updateTitle(true);
        return;
    }
    error.clear();
    double from = firstChange(demo->getEvents(), events);
    std::vector<std::filesystem::path> media;
    for (const auto& file : changed) {
        // Whatever the script is now read from is script; the rest are pictures and music.
        if (std::find(sources.begin(), sources.end(), file) != sources.end())
            continue;
        media.push_back(file);
        from = std::min(from, firstUse(demo->getEvents(), events, file));
    }
    const double at = now();
    std::cerr << "reelview: reloaded; ";
    if (std::isinf(from))
        std::cerr << "the demo is the same";
    else
        std::cerr << "the demo changes at " << twoPlaces(from) << " s";
    const bool shownChanges = from <= at;
    const DemoSnapshot* back = nullptr;
    if (shownChanges) {
        back = snapshots.latestAtOrBefore(from - 1e-6);
        std::cerr << ": resumed from " << twoPlaces(back ? back->time() : 0.0) << " s\n";
        SoundLibrary::instance().switchOutput(AudioOutput::Offline);
        putBack(back ? *back : *start, !back);
    } else {
        // Nothing shown so far changes: the new timeline takes over from here.
        std::cerr << ", after the time shown\n";
    }
    demo->amendTimeline(std::move(events));
    for (const auto& file : media)
        TextureManager::instance()->forgetFile(file);
    snapshots.dropAfter(from - 1e-6);
    if (shownChanges && !seekTo(at))
        quit = true;
    reportWarnings();
    frameDue = true;
    updateTitle(true);
}

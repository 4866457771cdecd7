#pragma once

#include "SoundLibrary.h"
#include "TempFolder.h"
#include "TestMedia.h"

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Test fixture: the sound library started on the offline output, in a working folder holding
// freshly made music of every kind:
//   tone.ogg, tone.mp3, tone.mp2, tone.wma (1.5 s of 440 Hz), short.ogg (0.5 s),
//   song.xm (16 rows, 1.92 s), song.mid (2 s), song.rmi (the same wrapped), song.sgt.
class OfflineSound : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static std::string read(const std::string& name);
    static void write(const std::string& name, const std::string& bytes);
    // Mixes `frames` frames offline and returns them.
    std::vector<float> render(std::size_t frames);
    static double rms(const std::vector<float>& samples);

    SoundLibrary& library = SoundLibrary::instance();

private:
    static std::unique_ptr<TempFolder> folder;
};

#pragma once

#include "cpplib/Logger.h"
#include "cpplib/SharedPtr.h"
#include "plugins/sound/openal/OpenALSoundEngine.h"
#include "resource/NameMapper.h"
#include "sound/SoundSource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace SoundTest {

/// A sine tone to encode as MP3.
struct Tone {
    long rate = 44100;
    int channels = 1;
    double seconds = 0.3;
    double amplitude = 0.5;  ///< of full scale
    double frequency = 440.0; ///< whole periods in every 50 ms, so loops join without a click
};

/// The tone encoded as a constant-bit-rate MP3 with its delay and padding
/// recorded, so a decoder gives back exactly its samples.
std::vector<unsigned char> encodeTone(const Tone& tone);

void writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

/// `bytes` written as `name` in the scratch directory, named as the engine
/// would name a sound file.
Velta::NameMapper::ResourceInfo soundFile(const std::string& name, const std::vector<unsigned char>& bytes);

/// A fresh directory for this test process's files, removed at exit.
const std::string& scratchDirectory();

/// Keeps every message with its level ("error: ...").
class RecordingLogger : public CppLib::Logger {
public:
    void fatal(const std::string& m) override { mLines.push_back("fatal: " + m); }
    void error(const std::string& m) override { mLines.push_back("error: " + m); }
    void warn(const std::string& m) override { mLines.push_back("warn: " + m); }
    void info(const std::string& m) override { mLines.push_back("info: " + m); }
    void debug(const std::string& m) override { mLines.push_back("debug: " + m); }

    std::vector<std::string> mLines;
};

/// A logger share for an engine and a view of what it recorded.
struct Log {
    Log() : logger(new RecordingLogger()), shared(logger) {}
    const std::vector<std::string>& lines() const { return logger->mLines; }
    RecordingLogger* logger;
    CppLib::SharedPtr<CppLib::Logger> shared;
};

/// An initialised engine that logs into `mLog`.
class EngineTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mEngine.initialize()); }

    /// The tone encoded and opened as the file `name`.
    CppLib::SharedPtr<Velta::SoundSource> source(const Tone& tone, bool positional, const std::string& name = "tone.mp3")
    {
        return mEngine.createSoundSource(soundFile(name, encodeTone(tone)), positional);
    }

    Log mLog;
    Velta::OpenALSoundEngine mEngine{mLog.shared};
};

/// Runs the engine's update every few milliseconds until `deadline`, or for
/// `ms` of wall-clock time.
void pumpUntil(Velta::OpenALSoundEngine& engine, std::chrono::steady_clock::time_point deadline);
void pump(Velta::OpenALSoundEngine& engine, int ms);

} // namespace SoundTest

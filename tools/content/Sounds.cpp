#include "Sounds.h"

#include "ContentGenerator.h"
#include "Mp3.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace VeltaTools {

using namespace Synth;

namespace {

/// Noise through a band-pass filter whose centre follows `centre(t)`, shaped by `envelope(t)`.
Signal filteredNoise(float seconds, std::uint32_t seed, float q, const std::function<float(float)>& centre,
                     const std::function<float(float)>& envelope)
{
    Random random(seed);
    Biquad filter = Biquad::bandPass(centre(0), q);
    Signal out(samples(seconds));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / SAMPLE_RATE;
        if (i % 32 == 0) {
            filter.setBandPass(centre(t), q);
        }
        out[i] = filter.process(random.signedUnit()) * envelope(t);
    }
    return out;
}

/// A pitch glide: sine from `from` to `to` Hz (exponentially) under an attack-decay envelope.
Signal chirp(float seconds, float from, float to, float attack, float decay)
{
    Signal out(samples(seconds));
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / SAMPLE_RATE;
        const float f = from * std::pow(to / from, t / seconds);
        phase += 2.0 * PI * f / SAMPLE_RATE;
        out[i] = static_cast<float>(std::sin(phase)) * attackDecay(t, attack, decay);
    }
    return out;
}

/// A water droplet: a short sine whose pitch rises quickly.
Signal droplet(float pitch, float length)
{
    return chirp(length, pitch, pitch * 2.2f, 0.002f, length * 0.35f);
}

Signal splash(float seconds, float brightness, std::uint32_t seed, int drops)
{
    Signal out = filteredNoise(seconds, seed, 0.7f,
                               [=](float t) { return 600.0f + brightness * 3500.0f * std::exp(-t * 6.0f); },
                               [=](float t) { return attackDecay(t, 0.004f, seconds * 0.28f); });
    Random random(seed + 1);
    for (int i = 0; i < drops; ++i) {
        const float at = 0.05f + random.unit() * seconds * 0.7f;
        mixInto(out, droplet(500.0f + random.unit() * 900.0f * brightness, 0.06f), samples(at), 0.25f);
    }
    normalise(out, 0.9f);
    fadeEnds(out, 0.005f);
    return out;
}

Signal click()
{
    Signal out = chirp(0.05f, 2600.0f, 1800.0f, 0.0005f, 0.006f);
    mixInto(out, filteredNoise(0.02f, 51u, 1.2f, [](float) { return 5000.0f; },
                               [](float t) { return attackDecay(t, 0.0003f, 0.003f); }),
            0, 0.6f);
    normalise(out, 0.8f);
    fadeEnds(out, 0.002f);
    return out;
}

Signal thud(float seconds, float pitch, float grit, std::uint32_t seed)
{
    Signal out = chirp(seconds, pitch, pitch * 0.45f, 0.003f, seconds * 0.3f);
    mixInto(out, filteredNoise(seconds, seed, 0.9f, [](float t) { return 900.0f + 1500.0f * std::exp(-t * 10); },
                               [=](float t) { return grit * attackDecay(t, 0.002f, seconds * 0.18f); }),
            0, 1.0f);
    // Gravel: a few sharp ticks just after the impact.
    Random random(seed + 7);
    for (int i = 0; i < static_cast<int>(grit * 8); ++i) {
        mixInto(out, chirp(0.02f, 1500 + random.unit() * 2500, 900, 0.0005f, 0.004f),
                samples(0.01f + random.unit() * seconds * 0.4f), 0.25f * grit);
    }
    normalise(out, 0.95f);
    fadeEnds(out, 0.004f);
    return out;
}

Signal addItem()
{
    Signal out(samples(0.55f), 0.0f);
    const float notes[] = {84, 88, 91, 96};
    for (int i = 0; i < 4; ++i) {
        mixInto(out, tone(noteFrequency(notes[i]), 0.2f, 0.003f, 0.09f, 0.35f), samples(0.06f * i), 0.5f);
    }
    normalise(out, 0.85f);
    fadeEnds(out, 0.003f);
    return out;
}

Signal gulp()
{
    Signal out(samples(0.7f), 0.0f);
    for (int i = 0; i < 2; ++i) {
        Signal bloop = chirp(0.22f, 420.0f - i * 60, 160.0f - i * 20, 0.01f, 0.07f);
        Biquad body = Biquad::lowPass(900.0f, 2.0f);
        for (float& s : bloop) {
            s = body.process(s);
        }
        mixInto(out, bloop, samples(0.04f + 0.3f * i), 1.0f);
        mixInto(out, click(), samples(0.03f + 0.3f * i), 0.15f);
    }
    normalise(out, 0.9f);
    fadeEnds(out, 0.004f);
    return out;
}

/// A diver's breath through a regulator: an inhaled hiss, then exhaled
/// bubbles. Silent at both ends, so it repeats cleanly.
Signal breathe()
{
    const float length = 3.2f;
    Signal out = filteredNoise(length, 61u, 1.1f, [](float t) { return t < 1.3f ? 1400.0f + 600.0f * t : 700.0f; },
                               [](float t) {
                                   if (t < 1.3f) {
                                       return 0.6f * std::sin(PI * t / 1.3f);
                                   }
                                   return 0.0f;
                               });
    Random random(62u);
    for (int i = 0; i < 22; ++i) {
        const float at = 1.6f + random.unit() * 1.3f;
        mixInto(out, droplet(180.0f + random.unit() * 260.0f, 0.09f), samples(at), 0.35f);
    }
    mixInto(out, filteredNoise(1.4f, 63u, 0.8f, [](float) { return 400.0f; },
                               [](float t) { return 0.35f * std::sin(PI * t / 1.4f); }),
            samples(1.55f), 1.0f);
    normalise(out, 0.8f);
    fadeEnds(out, 0.02f);
    return out;
}

Signal eatLoud()
{
    Signal out(samples(1.0f), 0.0f);
    Random random(71u);
    for (int bite = 0; bite < 5; ++bite) {
        const float at = 0.03f + bite * 0.17f;
        Signal crunch = filteredNoise(0.12f, 72u + bite, 0.9f, [](float t) { return 2600.0f - 8000.0f * t; },
                                      [](float t) { return attackDecay(t, 0.003f, 0.03f); });
        for (std::size_t i = 0; i < crunch.size(); ++i) {
            crunch[i] *= random.unit() > 0.7f ? 2.2f : 0.6f; // crackle
        }
        mixInto(out, crunch, samples(at), 1.0f);
        mixInto(out, chirp(0.1f, 160.0f, 110.0f, 0.01f, 0.04f), samples(at + 0.02f), 0.5f);
    }
    // A contented "mm" at the end.
    Signal hum = tone(150.0f, 0.25f, 0.03f, 0.3f, 0.5f, 0.02f, 0.05f);
    Biquad nasal = Biquad::lowPass(500.0f);
    for (float& s : hum) {
        s = nasal.process(s);
    }
    mixInto(out, hum, samples(0.72f), 0.7f);
    normalise(out, 0.9f);
    fadeEnds(out, 0.004f);
    return out;
}

Signal pulso()
{
    const float length = 1.1f;
    Signal out = filteredNoise(length, 81u, 1.5f, [=](float t) { return 300.0f * std::pow(12.0f, t / length); },
                               [=](float t) { return std::sin(PI * std::min(1.0f, t / length)) * 0.8f; });
    Signal zap(samples(length));
    double phase = 0;
    for (std::size_t i = 0; i < zap.size(); ++i) {
        const float t = static_cast<float>(i) / SAMPLE_RATE;
        const float f = 110.0f * std::pow(7.0f, t / length);
        phase += 2.0 * PI * f / SAMPLE_RATE;
        const float saw = static_cast<float>(std::fmod(phase / (2 * PI), 1.0) * 2 - 1);
        zap[i] = saw * 0.35f * attackDecay(t, 0.05f, 0.6f);
    }
    Biquad soften = Biquad::lowPass(2500.0f);
    for (float& s : zap) {
        s = soften.process(s);
    }
    mixInto(out, zap, 0, 1.0f);
    normalise(out, 0.9f);
    fadeEnds(out, 0.01f);
    return out;
}

/// A brass-like note: bright harmonics, a soft attack and a little vibrato.
Signal brass(float midi, float seconds, float vibrato)
{
    Signal note = tone(noteFrequency(midi), seconds, 0.025f, 3.0f, 0.72f, vibrato, 0.06f);
    Biquad warm = Biquad::lowPass(2800.0f);
    for (float& s : note) {
        s = warm.process(s);
    }
    return note;
}

Signal finish()
{
    Signal out(samples(2.4f), 0.0f);
    const float notes[][3] = {{67, 0.0f, 0.14f}, {67, 0.16f, 0.14f}, {67, 0.32f, 0.14f}, {72, 0.48f, 0.5f},
                              {76, 1.02f, 0.14f}, {79, 1.2f, 1.0f}};
    for (const auto& n : notes) {
        mixInto(out, brass(n[0], n[2], n[2] > 0.4f ? 0.006f : 0.0f), samples(n[1]), 0.4f);
    }
    for (float chord : {72.0f, 76.0f}) {
        mixInto(out, brass(chord, 1.0f, 0.004f), samples(1.2f), 0.22f);
    }
    normalise(out, 0.9f);
    fadeEnds(out, 0.01f);
    return out;
}

Signal loose()
{
    Signal out(samples(2.6f), 0.0f);
    const float notes[][3] = {{55, 0.0f, 0.35f}, {54, 0.42f, 0.35f}, {53, 0.84f, 0.35f}, {52, 1.26f, 1.1f}};
    for (const auto& n : notes) {
        Signal note = brass(n[0], n[2], n[2] > 0.5f ? 0.03f : 0.008f);
        // "Wah": the filter opens and closes over each note.
        Biquad wah = Biquad::lowPass(400.0f, 3.0f);
        for (std::size_t i = 0; i < note.size(); ++i) {
            const float t = static_cast<float>(i) / SAMPLE_RATE;
            if (i % 32 == 0) {
                wah.setLowPass(400.0f + 1400.0f * std::sin(PI * std::min(1.0f, t / (n[2] + 0.06f))), 3.0f);
            }
            note[i] = wah.process(note[i]);
        }
        mixInto(out, note, samples(n[1]), 0.5f);
    }
    normalise(out, 0.9f);
    fadeEnds(out, 0.01f);
    return out;
}

/// A voiced or noisy stretch of speech.
struct Phone {
    float seconds;
    float f1, f2, f3;   ///< formants in Hz (0: unvoiced noise only)
    float voice;        ///< 0..1 share of the pitched source
    float noise;        ///< 0..1 share of hiss
    float noiseCentre;  ///< centre of the hiss band
};

/// "Any questions?" in a synthetic voice: a pitched source through formant
/// filters, with hiss for the consonants and a rising pitch at the end.
Signal question()
{
    const Phone phones[] = {
        {0.03f, 250, 1800, 2600, 0.5f, 0.0f, 0},       // g
        {0.11f, 280, 2250, 3000, 1.0f, 0.0f, 0},       // i
        {0.05f, 0, 0, 0, 0.0f, 0.0f, 0},               // p (closure)
        {0.03f, 0, 0, 0, 0.0f, 0.7f, 3000},            // t burst
        {0.1f, 0, 0, 0, 0.0f, 0.8f, 6500},             // s
        {0.08f, 0, 0, 0, 0.0f, 0.45f, 2500},           // f
        {0.05f, 450, 1200, 2300, 0.7f, 0.25f, 1500},   // r
        {0.17f, 750, 1150, 2450, 1.0f, 0.0f, 0},       // a
        {0.04f, 300, 1900, 2500, 0.4f, 0.0f, 0},       // g
        {0.1f, 480, 1550, 2500, 1.0f, 0.0f, 0},        // e
        {0.16f, 260, 1300, 2400, 0.7f, 0.0f, 0},       // n
    };
    float total = 0;
    for (const Phone& p : phones) {
        total += p.seconds;
    }
    Signal out(samples(total + 0.1f), 0.0f);
    Random random(91u);
    Biquad formant[3] = {Biquad::bandPass(500, 6), Biquad::bandPass(1500, 8), Biquad::bandPass(2500, 10)};
    Biquad hiss = Biquad::bandPass(3000, 1.5f);
    double phase = 0;
    std::size_t index = 0;
    float f1 = 280, f2 = 2250, f3 = 3000;
    for (const Phone& p : phones) {
        const std::size_t n = samples(p.seconds);
        for (std::size_t i = 0; i < n && index < out.size(); ++i, ++index) {
            const float t = static_cast<float>(index) / SAMPLE_RATE;
            // Pitch falls a little, then rises for the question.
            const float pitch = t < 0.6f ? 135.0f - 15.0f * t : 126.0f + 170.0f * (t - 0.6f);
            phase += pitch / SAMPLE_RATE;
            const float cycle = static_cast<float>(phase - std::floor(phase));
            const float pulse = cycle < 0.4f ? std::sin(PI * cycle / 0.4f) : 0.0f; // glottal pulse
            if (p.f1 > 0 && i % 32 == 0) {
                // Glide the formants towards the phone's targets.
                f1 += (p.f1 - f1) * 0.35f;
                f2 += (p.f2 - f2) * 0.35f;
                f3 += (p.f3 - f3) * 0.35f;
                formant[0].setBandPass(f1, 6);
                formant[1].setBandPass(f2, 9);
                formant[2].setBandPass(f3, 11);
            }
            const float source = pulse - 0.25f;
            const float voiced = formant[0].process(source) * 1.0f + formant[1].process(source) * 0.6f +
                                 formant[2].process(source) * 0.3f;
            if (p.noise > 0 && i == 0) {
                hiss.setBandPass(p.noiseCentre, 1.5f);
            }
            const float noisy = hiss.process(random.signedUnit());
            const float edge = std::min(1.0f, std::min(static_cast<float>(i), static_cast<float>(n - i)) / 200.0f);
            out[index] = (voiced * p.voice * 2.5f + noisy * p.noise) * edge;
        }
    }
    normalise(out, 0.9f);
    fadeEnds(out, 0.01f);
    return out;
}

} // namespace

Signal riverAmbience()
{
    const float seconds = 8.0f;
    const std::size_t length = samples(seconds);
    const std::size_t fade = samples(1.0f);
    Signal longer(length + fade, 0.0f);
    Random random(11u);
    Biquad rumble = Biquad::lowPass(380.0f);
    Biquad babble = Biquad::bandPass(900.0f, 0.8f);
    Biquad sparkle = Biquad::bandPass(3200.0f, 1.0f);
    float brown = 0;
    for (std::size_t i = 0; i < longer.size(); ++i) {
        const float t = static_cast<float>(i) / SAMPLE_RATE;
        const float white = random.signedUnit();
        brown = brown * 0.995f + white * 0.05f;
        const float swell = 0.75f + 0.25f * std::sin(2 * PI * 0.37f * t) * std::sin(2 * PI * 0.11f * t + 1.0f);
        const float gurgle = 0.6f + 0.4f * std::sin(2 * PI * 2.3f * t + std::sin(2 * PI * 0.7f * t) * 3.0f);
        longer[i] = rumble.process(brown) * 1.4f * swell + babble.process(white) * 0.22f * gurgle +
                    sparkle.process(white) * 0.06f;
    }
    for (int i = 0; i < 40; ++i) {
        const float at = random.unit() * seconds;
        mixInto(longer, droplet(700.0f + random.unit() * 1200.0f, 0.05f + random.unit() * 0.05f), samples(at),
                0.06f + random.unit() * 0.08f);
    }
    Signal loop = loopCrossfade(longer, length, fade);
    normalise(loop, 0.6f);
    return loop;
}

Signal music()
{
    // Eight bars at 120 beats a minute, rendered round a circle: whatever
    // rings past the end continues at the start, so the loop is seamless.
    const float beat = 0.5f;
    const std::size_t length = samples(32 * beat);
    Signal out(length, 0.0f);
    const auto at = [beat](float beats) { return samples(beats * beat); };

    const int chords[8][3] = {{60, 64, 67}, {55, 59, 62}, {57, 60, 64}, {53, 57, 60},
                              {60, 64, 67}, {53, 57, 60}, {55, 59, 62}, {60, 64, 67}};
    for (int bar = 0; bar < 8; ++bar) {
        const float base = bar * 4.0f;
        const int root = chords[bar][0] - 24;
        const float bass[4] = {static_cast<float>(root), static_cast<float>(root + 7), static_cast<float>(root + 12),
                               static_cast<float>(root + 7)};
        for (int b = 0; b < 4; ++b) {
            mixInto(out, tone(noteFrequency(bass[b]), beat * 0.8f, 0.005f, 0.35f, 0.45f), at(base + b), 0.32f, true);
            for (int note : chords[bar]) {
                mixInto(out, tone(noteFrequency(static_cast<float>(note)), beat * 0.25f, 0.004f, 0.08f, 0.3f),
                        at(base + b + 0.5f), 0.07f, true);
            }
        }
    }

    const float melody[][3] = {
        {0, 0.5f, 76}, {0.5f, 0.5f, 79}, {1, 1, 84}, {2, 0.5f, 79}, {2.5f, 0.5f, 76}, {3, 1, 79},
        {4, 0.5f, 74}, {4.5f, 0.5f, 79}, {5, 1, 83}, {6, 0.5f, 81}, {6.5f, 0.5f, 79}, {7, 1, 74},
        {8, 0.5f, 72}, {8.5f, 0.5f, 76}, {9, 1, 81}, {10, 0.5f, 79}, {10.5f, 0.5f, 76}, {11, 1, 72},
        {12, 0.5f, 77}, {12.5f, 0.5f, 81}, {13, 1, 84}, {14, 1, 81}, {15, 1, 79},
        {16, 0.5f, 76}, {16.5f, 0.5f, 79}, {17, 0.5f, 84}, {17.5f, 0.5f, 86}, {18, 1, 88}, {19, 1, 84},
        {20, 0.5f, 81}, {20.5f, 0.5f, 84}, {21, 0.5f, 81}, {21.5f, 0.5f, 77}, {22, 1, 81}, {23, 1, 84},
        {24, 0.5f, 83}, {24.5f, 0.5f, 81}, {25, 0.5f, 79}, {25.5f, 0.5f, 77}, {26, 1, 74}, {27, 0.5f, 79},
        {27.5f, 0.5f, 83}, {28, 1.5f, 84}, {29.5f, 0.5f, 79}, {30, 1, 76}, {31, 1, 67},
    };
    for (const auto& note : melody) {
        mixInto(out, tone(noteFrequency(note[2]), note[1] * beat * 0.9f, 0.006f, 0.5f, 0.55f, 0.004f),
                at(note[0]), 0.2f, true);
    }

    Random random(21u);
    for (int b = 0; b < 32; ++b) {
        if (b % 2 == 0) {
            mixInto(out, chirp(0.25f, 140.0f, 45.0f, 0.002f, 0.09f), at(static_cast<float>(b)), 0.5f, true);
        } else {
            mixInto(out, filteredNoise(0.15f, 22u + b, 0.8f, [](float) { return 1900.0f; },
                                       [](float t) { return attackDecay(t, 0.001f, 0.04f); }),
                    at(static_cast<float>(b)), 0.5f, true);
        }
        for (float half : {0.0f, 0.5f}) {
            mixInto(out, filteredNoise(0.05f, 40u + b, 2.0f, [](float) { return 8000.0f; },
                                       [](float t) { return attackDecay(t, 0.0005f, 0.012f); }),
                    at(b + half), half > 0 ? 0.2f : 0.12f, true);
        }
    }
    normalise(out, 0.8f);
    return out;
}

std::vector<SoundClip> makeSounds()
{
    std::vector<SoundClip> clips;
    clips.push_back({"bgwater.mp3", riverAmbience(), true, 96});
    clips.push_back({"music.mp3", music(), true, 112});
    clips.push_back({"additem.mp3", addItem()});
    clips.push_back({"splash.mp3", splash(0.9f, 1.0f, 31u, 10)});
    clips.push_back({"sprite.mp3", splash(0.35f, 1.6f, 41u, 4)});
    clips.push_back({"click.mp3", click()});
    clips.push_back({"hitterrain.mp3", thud(0.5f, 95.0f, 1.0f, 52u)});
    clips.push_back({"hitterrainlow.mp3", thud(0.25f, 130.0f, 0.4f, 53u)});
    clips.push_back({"gibtsfragen.mp3", question()});
    clips.push_back({"gulp.mp3", gulp()});
    clips.push_back({"breathe.mp3", breathe(), true});
    clips.push_back({"eatloud.mp3", eatLoud()});
    clips.push_back({"pulso.mp3", pulso()});
    clips.push_back({"finish.mp3", finish()});
    clips.push_back({"loose.mp3", loose()});
    return clips;
}

void generateSounds(Output& output)
{
    output.makeDirectory("sound");
    for (const SoundClip& clip : makeSounds()) {
        output.writeBytes("sound/" + clip.file, encodeMp3(clip.samples, clip.kbps));
    }
}

} // namespace VeltaTools

// Sound effects synthesized from a short text recipe: 16-bit mono PCM at 22050 Hz, summed from
// voices, written as a WAVE clip with the fixed 44-byte header the players read. One statement per
// line, '#' starts a comment:
//   length 220                         the effect's length in ms (1..10000)
//   gain 0.9                           overall gain (default 1); the sum is clipped to 16 bits
//   voice square from 280 to 820 volume 0.4 attack 4 release 120
// A voice is a wave (sine, square, triangle, saw or noise) and fields, any order:
//   from HZ [to HZ]      pitch, swept over the voice (noise: the rate it picks new values at)
//   curve exp|lin        the sweep's shape (default exp)
//   steps N              the sweep moves in N even jumps (0, the default: smoothly)
//   volume V             0..1 (default 0.5)
//   start MS, end MS     when it sounds (default: the whole length)
//   attack MS            linear rise (default 2); release MS: linear fall at the end (default 10)
//   decay MS             exponential fall after the attack, the time to 1/e (default none)
//   duty D               a square's high part, 0.05..0.95 (default 0.5)
//   vibrato HZ           pitch wobble depth (default 0) at vibratorate HZ (default 6)
//   lowpass HZ           a one-pole low-pass filter on the voice (default none)
//   seed N               the noise's start value (default 1), so builds are reproducible
// Errors read "FILE:LINE: ...".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

inline constexpr int kSfxRate = 22050;

[[nodiscard]] bool renderSfx(std::string_view text, std::string_view fileName, std::vector<int16_t>& pcm,
                             std::string& error);

// The PCM as a WAVE clip: "RIFF", "WAVE", a 16-byte "fmt " chunk and the "data" chunk, 44 bytes of
// header in all.
[[nodiscard]] std::string waveClip(const std::vector<int16_t>& pcm, int rate);

}  // namespace tools

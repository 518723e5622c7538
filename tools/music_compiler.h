// Music in a step notation -> a Standard MIDI File (format 1: a tempo track, then one track per
// instrument). The source is text, one statement per line, '#' starts a comment:
//   tempo 132                          quarter notes per minute
//   steps 4                            steps per quarter note (default 4: a step is a sixteenth)
//   bar 16                             steps per bar; every '|' must then fall on a bar line
//   gain -2.5                          dB (-24..12) on every instrument's volume, so songs can be
//                                      levelled to one loudness (a volume stays within 1..127)
//   instrument lead channel 1 program 81 [volume 100] [pan 64] [velocity 96]
//                                      MIDI channel 1..16 (10 = drums), General MIDI program 1..128
//   pattern verse                      a block of track lines, closed by "end"
//     lead: e5 - g5 . c6+e6 - - . |    one token per step; all lines of a pattern are equally long
//   end
//   song intro verse*2 chorus          the patterns in playing order (NAME*N repeats one)
// Step tokens: a note (c4 = middle C, sharps "c#4", flats "eb4"), several joined by '+', '!' after
// it for an accent and '?' for a soft hit; '-' holds the notes one more step; '.' is a rest; '|' a
// bar check. On channel 10 the drum names k kick, s snare, p clap, h closed hat, o open hat,
// c crash, r ride, t low tom, m mid tom, i high tom, b cowbell, a tambourine stand for their notes.
// The song ends with "all sound off" on every channel: it lasts exactly its steps, so a loop starts
// again on the beat; a tail that should ring out is written as rests. Errors read "FILE:LINE: ...".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tools {

struct MusicSummary {
    int64_t durationMicros = 0;   // the song's length: its steps at its tempo
    int tracks = 0;               // instrument tracks (the tempo track not counted)
    int notes = 0;                // notes started
};

[[nodiscard]] bool compileMusic(std::string_view text, std::string_view fileName, std::string& midi,
                                std::string& error, MusicSummary* summary = nullptr);

}  // namespace tools

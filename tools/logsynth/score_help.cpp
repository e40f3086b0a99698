#include "score_parser.h"

namespace kestrel::logsynth {

const char* const kScoreFormatHelp = R"(SCORE FORMAT
  One statement per line; a word starting with '#' begins a comment; "quotes" keep spaces.

  game TEXT | title TEXT | copyright TEXT    the titles stored in the log (63, 63, 31 bytes)
  format new|old          new (default): all events; old: register writes only
  gzip yes|no             compress the log (also when the output name ends in .gz)
  tempo BPM               beats per minute (default 120)
  steps N                 steps per beat (default 4); note lengths count steps
  volume PERCENT          main volume (default 80)
  tail SECONDS            silence after the last key off (default 2; at least the
                          longest release)
  reverb PRESET [PERCENT] room studio-small studio-medium studio-large hall half-echo
                          space-echo, with its output volume (default 40); 'reverb off'

  instrument NAME [options]
    wave=sine|square|saw|triangle   a looped, band-limited tone
    wave=noise|kick|snare|hat       a synthesised one-shot (noise may loop)
    wav=FILE.wav                    8/16-bit PCM, relative to the score's folder
    root=NOTE                       the note a one-shot or file sounds at its own rate (C4)
    loop=yes|no  loopstart=SAMPLE   looping (tones loop by default, others do not)
    length=SECONDS                  length of a synthesised one-shot
    attack=MS decay=MS sustain=PERCENT release=MS [fade=MS]
                                    the envelope, turned into the nearest hardware rates;
                                    fade lets the sustain die away instead of holding
    adsr=0xADSR1,0xADSR2            the envelope registers as they are
    upload=ram|dma                  sample in the initial sound RAM (default), or sent by
                                    a DMA write before its first note (new format)

  track NAME inst=INSTRUMENT voices=0-3,8 [vol=PERCENT] [pan=-100..100] [reverb=yes]
             [gate=PERCENT] [transpose=SEMITONES]
                          successive notes take the track's voices in turn; a voice
                          belongs to one track

  pattern NAME [length=STEPS]
    TRACK: NOTE NOTE ...  a line of notes for one track (a second line continues it)
    TRACK*4: NOTE ...     the same notes four times
  end                     a pattern lasts its longest line, or its length if longer

  NOTE is NAME[/STEPS][vVOLUME][pPAN]:
    C4 F#3 Bb2            note names, C4 = middle C; 'x' plays the instrument's root
    C4+E4+G4              a chord, one voice per note
    r or -                a rest
    /STEPS                length; a note without it keeps the previous length
    v80 p-30              note volume (percent of the track's) and pan
    |                     a bar line, ignored

  play PATTERN [TIMES]    appends the pattern to the song
  play A+B [TIMES]        patterns that sound together
  rest STEPS              appends silence

  xa [options] | cd [options]      a streamed tone (new format): XA blocks or CD audio
    at=STEP (default: the song's current end) length=STEPS notes=C3+G3
    wave=sine|square|saw|triangle vol=PERCENT  xa only: rate=37800|18900 stereo=yes|no

EXAMPLE
  title "Tiny"
  tempo 100
  instrument lead wave=square attack=5 decay=200 sustain=60 release=150
  track melody inst=lead voices=0-1
  pattern a
    melody: C5/2 E5 G5 C6/4 r/2
  end
  play a 8
)";

}  // namespace kestrel::logsynth

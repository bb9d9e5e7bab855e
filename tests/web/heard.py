"""The page's sound as the listener gets it, against what the robot sees.

A script run before the page's own (RECORD) sees every block the page hands
to Web Audio: where it starts on the audio context's clock, how far ahead of
the context's time that is, and when it is heard on the page's clock
(performance.now(), the robot's steady clock), from the context's output
timestamp. It reduces each block in the page to an envelope of its low band
(an instant rise and a slow fall, every HOP frames), so only a few numbers a
block cross to the test. World 3's bars start with the only sound that low
(a kick and a bass note on each downbeat): the low band's rise near a red
flash is that bar's downbeat.
"""
import re
import statistics

HOP = 128
RECORD = r"""(() => {
  const hop = %d, lowest = 100, fall = 0.05;
  const poles = new Float64Array(4);
  let level = 0;
  const heard = window.murmelHeard = {hop: hop, blocks: [], reads: []};
  // The robot keeping a frame reads the canvas back, which waits for the frame to be drawn.
  for (const name of ['toDataURL', 'toBlob']) {
    const read = HTMLCanvasElement.prototype[name];
    HTMLCanvasElement.prototype[name] = function () {
      const begun = performance.now();
      try { return read.apply(this, arguments); } finally { heard.reads.push([begun, performance.now()]); }
    };
  }
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when) {
    const context = this.context, buffer = this.buffer;
    if (buffer && context instanceof AudioContext) {
      const stamp = context.getOutputTimestamp();
      // A browser yet to give the timestamp's page time: the context's time plus its latency.
      const ms = stamp.performanceTime > 0 ? stamp.performanceTime + (when - stamp.contextTime) * 1000
          : performance.now() + (when - context.currentTime + (context.outputLatency || context.baseLatency)) * 1000;
      const rate = buffer.sampleRate, keep = Math.exp(-2 * Math.PI * lowest / rate);
      const keepLevel = Math.exp(-1 / (fall * rate));
      const channels = Array.from({length: buffer.numberOfChannels}, (_, c) => buffer.getChannelData(c));
      const envelope = [];
      for (let i = 0; i < buffer.length; ++i) {
        let x = 0;
        for (const samples of channels) x += samples[i];
        for (let p = 0; p < poles.length; ++p) x = poles[p] = x + keep * (poles[p] - x);
        level = Math.max(Math.abs(x), level * keepLevel);
        if (i %% hop == hop - 1) envelope.push(+level.toPrecision(4));
      }
      heard.blocks.push([ms, when, when - context.currentTime, buffer.length, rate, performance.now(), envelope]);
    }
    return start.apply(this, arguments);
  };
})();""" % HOP

# Every audio context stays suspended, as in a browser that will not start sound.
HUSH = r"""(() => {
  const Context = window.AudioContext;
  window.AudioContext = class extends Context {
    constructor(...options) { super(...options); super.suspend(); }
    resume() { return Promise.resolve(); }
  };
})();"""

FLASH = re.compile(r"autoplay: red flash at ([0-9.]+) s")
# A downbeat is looked for this close to a flash, in milliseconds.
SEARCH_MS = 500.0
ONSET = 0.4


class Blocks:
    """The blocks recorded, in the order the page started them."""

    def __init__(self, record):
        self.blocks = record["blocks"] if record else []
        self.reads = record["reads"] if record else []
        self.hop = record["hop"] if record else HOP

    def gaps(self):
        """Blocks that start later than the one before ends (the queue ran dry): how many came while the page
        went its own way, and how many while the robot read a frame back (which a game never does)."""
        gaps = [(before[5], block[5]) for before, block in zip(self.blocks, self.blocks[1:])
                if block[1] - (before[1] + before[3] / before[4]) > 0.5 / block[4]]
        reading = sum(1 for since, until in gaps if any(start < until and end > since for start, end in self.reads))
        return len(gaps) - reading, reading

    def ahead_ms(self):
        """How far ahead of the context's time each block was started."""
        return [1000.0 * block[2] for block in self.blocks]

    def sizes(self):
        return sorted({block[3] for block in self.blocks})

    def levels(self):
        """(time heard in ms, the low band's level) for each hop: a rise in level is placed in its hop's middle."""
        levels = []
        for ms, _, _, _, rate, _, envelope in self.blocks:
            hop_ms = 1000.0 * self.hop / rate
            levels += [(ms + (k + 0.5) * hop_ms, value) for k, value in enumerate(envelope)]
        return levels


def flashes_ms(messages):
    """The robot's red flashes, in milliseconds of the page's clock."""
    return [1000.0 * float(match.group(1)) for match in (FLASH.match(m.text) for m in messages) if match]


def downbeat(levels, flash):
    """Where the low band, within SEARCH_MS of a flash, first rises ONSET of the way from its usual level to
    its peak (a downbeat's kick and bass come in two steps, the second often the larger); None when no sound
    was heard then."""
    near = [(ms, level) for ms, level in levels if abs(ms - flash) <= SEARCH_MS]
    if not near:
        return None
    usual = statistics.median(level for _, level in near)
    peak = max(level for _, level in near)
    return next(ms for ms, level in near if level >= usual + ONSET * (peak - usual))


def grid_residuals(times, period=1000.0):
    """Each time's distance from the grid of this period that fits them best (their mean phase)."""
    phases = [(t - times[0] + period / 2) % period - period / 2 for t in times]
    middle = statistics.mean(phases)
    return [phase - middle for phase in phases]

#pragma once

class Take;

// Lowers a take's loudest moments by up to `reductionDb` with a look-ahead
// gain that never lets a peak through and never jumps: the gain each frame
// needs is spread over `windowSeconds` either side of it. Loops wrap.
class PeakLimiter {
 public:
  static void apply(Take &take, float reductionDb, float windowSeconds);
};
